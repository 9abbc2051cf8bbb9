// SPDX-License-Identifier: GPL-3.0-or-later
#include "duelboard.h"

#include "window/demin.h"

#include <QAccessible>
#include <QTest>

namespace volcanelle::testing {

std::vector<int> mineRowsBoard()
{
    return minesOf({"...............", "...............", "...............", "...............",
                    "...............", "...............", "...............", "...............",
                    "...............", "...............", "...............", "...............",
                    "***************", "***************", "..............."});
}

bool startShown(demin& window, ModalAnswerer& answerer)
{
    answerer.type(QStringLiteral("30"));
    if (!window.Form_Load() || !answerer.unexpected.isEmpty() || answerer.pending() != 0)
        return false;
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace volcanelle::testing
