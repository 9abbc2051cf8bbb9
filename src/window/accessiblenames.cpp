// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/accessiblenames.h"

#include "engine/grid.h"

namespace volcanelle::accessible {

QString cellName(int index)
{
    return QStringLiteral("Case ligne %1, colonne %2")
        .arg(rowOf(index) + 1)
        .arg(columnOf(index) + 1);
}

QString pictureWord(Picture picture)
{
    switch (picture) {
    case Picture::None:
        return QString();
    case Picture::Mine:
        return QStringLiteral("mine");
    case Picture::Blank:
        return QStringLiteral("vide");
    default:
        return QString::number(pictureNumber(picture));
    }
}

QString pictureName(int index, Picture picture, bool covered)
{
    // A covered cell must not give its content away.
    const QString shows = covered ? QStringLiteral("couverte") : pictureWord(picture);
    if (shows.isEmpty())
        return cellName(index);
    return cellName(index) + QStringLiteral(" : ") + shows;
}

QString moveDescription(int index, Picture picture, int opened, const QString& turn)
{
    QString told = QStringLiteral("Ligne %1, colonne %2 : %3")
                       .arg(rowOf(index) + 1)
                       .arg(columnOf(index) + 1)
                       .arg(pictureWord(picture));
    if (opened > 1)
        told += QStringLiteral(", %1 cases découvertes").arg(opened);
    return told + QStringLiteral(". ") + turn;
}

} // namespace volcanelle::accessible
