// SPDX-License-Identifier: GPL-3.0-or-later
#include "sight.h"

#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>

namespace volcanelle::testing {

QStringList visible(demin& window)
{
    QStringList lines;
    for (const char* name :
         {"lblMain", "lblScore(1)", "lblScore(2)", "lblPartie1", "lblPartie2", "Panel3"})
        lines << QLatin1String(name) + QLatin1Char('=') + caption(window, QLatin1String(name));
    QString cells;
    for (int index = 0; index < kCells; ++index) {
        const bool covered = !cover(window, index)->isHidden();
        cells +=
            covered
                ? QLatin1Char('#')
                : QString::number(pictureNumber(window.duel().board().picture(index)), 16).at(0);
    }
    return lines << cells;
}

} // namespace volcanelle::testing
