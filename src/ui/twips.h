// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace volcanelle {

/// Layouts are given in twips, 1/1440 inch: 15 twips make one pixel at 96 dots per inch.
/// Qt scales device-independent pixels on high-density screens by itself.
constexpr int twips(int value)
{
    return (value * 2 + 15) / 30;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace volcanelle
