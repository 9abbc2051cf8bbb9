// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>

// Draws the ten 25 x 25 cell pictures: 1 to 8 the neighbour counts, 9 the mine, 10 the blank.
namespace TilePictures {

constexpr int count = 10;
constexpr int side = 25;

// The bold sans-serif face of the digits; the program checks that the system really has it.
QFont digitFont();

// Picture `number` (1 to 10) at `scale` times its size (1 for 25 x 25, 2 for 50 x 50).
// Returns a null image for a number outside 1 to 10 or a scale below 1.
QImage draw(int number, int scale);

} // namespace TilePictures
