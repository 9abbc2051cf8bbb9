// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/pictureset.h"

#include <QGuiApplication>

namespace volcanelle {

PictureSet::PictureSet()
{
    // QPixmap does not look for "@2x" files by itself. Loaded by that name, the double-size
    // picture carries a device pixel ratio of 2 and fills the same 25 x 25 cell, crisply.
    const bool dense = qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    const QString name =
        dense ? QStringLiteral(":/pictures/%1@2x.jpg") : QStringLiteral(":/pictures/%1.jpg");
    for (int entry = 1; entry <= kPictureCount; ++entry)
        pixmaps_[static_cast<std::size_t>(entry)] = QPixmap(name.arg(entry));
}

const QPixmap& PictureSet::pixmap(Picture picture) const
{
    return pixmaps_[static_cast<std::size_t>(pictureNumber(picture))];
}

} // namespace volcanelle
