// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/accessiblenames.h"

#include "engine/grid.h"

namespace volcanelle::accessible {

namespace {

QString points(int count)
{
    return count == 1 ? QStringLiteral("1 point") : QStringLiteral("%1 points").arg(count);
}

} // namespace

QString cellName(int index)
{
    return QStringLiteral("Ligne %1, colonne %2").arg(rowOf(index) + 1).arg(columnOf(index) + 1);
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
    return cellName(index) + QStringLiteral(", ") + shows;
}

QString moveDescription(int index, Picture picture, int opened, int finder, int points_,
                        const QString& turn, texts::Opponent opponent)
{
    QString told = pictureName(index, picture, false);
    if (opened > 1)
        told += QStringLiteral(", %1 cases découvertes").arg(opened);
    if (points_ > 0 && finder == 2 && opponent == texts::Opponent::Computer)
        told += QStringLiteral(", l'ordinateur a %1").arg(points(points_));
    else if (points_ > 0)
        told += QStringLiteral(", le joueur %1 a %2").arg(finder).arg(points(points_));
    return told + QStringLiteral(". ") + turn;
}

QString duelSummary(const QString& minesLeft, int points1, int rounds1, int points2, int rounds2,
                    texts::Opponent opponent)
{
    const auto player = [opponent](int number, int score, int rounds) {
        const QString who = number == 2 && opponent == texts::Opponent::Computer
                                ? QStringLiteral("L'ordinateur")
                                : QStringLiteral("Joueur %1").arg(number);
        return QStringLiteral("%1, %2, %3 %4. ")
            .arg(who)
            .arg(points(score))
            .arg(rounds)
            .arg(rounds > 1 ? QStringLiteral("manches gagnées") : QStringLiteral("manche gagnée"));
    };
    return player(1, points1, rounds1) + player(2, points2, rounds2) + minesLeft +
           QStringLiteral(".");
}

} // namespace volcanelle::accessible
