// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/picture.h"

#include <QString>

/// What assistive technology says about the board's cells, in French. Rows and columns are
/// counted from 1, as people count them.
namespace volcanelle::accessible {

/// "Case ligne 3, colonne 7": the cover of a cell.
QString cellName(int index);
/// What a picture shows, in a word: "mine", "vide" or its number ("3"); empty for None.
QString pictureWord(Picture picture);
/// The picture control of a cell: its name and, once uncovered, what it shows
/// ("Case ligne 3, colonne 7 : mine"); while covered it tells only that it is covered.
QString pictureName(int index, Picture picture, bool covered);

/// What a move did, for the cell that gets the focus after it: "Ligne 8, colonne 8 : 2. Le
/// joueur n°2 a la main.", with the number of cells uncovered when a blank area opened.
QString moveDescription(int index, Picture picture, int opened, const QString& turn);

} // namespace volcanelle::accessible
