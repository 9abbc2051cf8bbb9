// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

// Draws the program's icon: two crossed swords, white blades and yellow hilts, on a transparent
// background, as vector shapes so every size is crisp.
namespace SwordsIcon {

// The icon at `size` x `size` pixels in full colour with alpha; null for a size below 1.
QImage draw(int size);

// The icon reduced to an indexed image of at most 16 colours, entry 0 being transparent.
QImage drawSixteenColours(int size);

// The same drawing as a scalable SVG document, 32 units square.
QByteArray drawScalable();

} // namespace SwordsIcon
