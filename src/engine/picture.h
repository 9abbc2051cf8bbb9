// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace volcanelle {

/// The entries of the picture set, numbered as the players' picture list: 1 to 8 tell how
/// many mines touch a cell, 9 is a mine, 10 a blank cell. `None` is what a cell shows
/// before any round has been set up.
enum class Picture : std::uint8_t {
    None = 0,
    Mine = 9,
    Blank = 10,
};

inline constexpr int kPictureCount = 10;

/// The picture that tells `count` mines around (1 <= count <= 8).
constexpr Picture countPicture(int count)
{
    return static_cast<Picture>(count);
}

/// The entry number, 1 to 10 (0 for None).
constexpr int pictureNumber(Picture picture)
{
    return static_cast<int>(picture);
}

} // namespace volcanelle
