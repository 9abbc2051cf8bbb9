// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/picture.h"
#include "engine/texts.h"

#include <QString>

/// What assistive technology says about the board's cells, in French. Rows and columns are
/// counted from 1, as people count them. No colon anywhere: screen readers speak it aloud.
namespace volcanelle::accessible {

/// "Ligne 3, colonne 7": where a cell lies.
QString cellName(int index);
/// What a picture shows, in a word: "mine", "vide" or its number ("3"); empty for None.
QString pictureWord(Picture picture);
/// A cell as it is seen: "Ligne 3, colonne 7, couverte" while covered, which never gives its
/// content away, then "Ligne 3, colonne 7, mine".
QString pictureName(int index, Picture picture, bool covered);

/// What a move did, told first on the cell that has the focus after it: "Ligne 8, colonne 8,
/// 2. Le joueur n°2 a la main.", with the number of cells uncovered when a blank area opened
/// and the finder's points when a mine was found (`points` > 0). `opponent` says how player 2
/// is named, as in the captions.
QString moveDescription(int index, Picture picture, int opened, int finder, int points,
                        const QString& turn, texts::Opponent opponent = texts::Opponent::Person);

/// The state of the duel, asked for with a key: each player's points and rounds won, and the
/// mines still hidden.
QString duelSummary(const QString& minesLeft, int points1, int rounds1, int points2, int rounds2,
                    texts::Opponent opponent = texts::Opponent::Person);

} // namespace volcanelle::accessible
