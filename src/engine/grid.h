// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>

namespace volcanelle {

/// The board is a fixed square of 15 x 15 cells, indexed row by row from the top-left
/// corner: index = 15 * row + column, 0 <= index < 225.
inline constexpr int kRows = 15;
inline constexpr int kColumns = 15;
inline constexpr int kCells = kRows * kColumns;

constexpr int rowOf(int index)
{
    return index / kColumns;
}
constexpr int columnOf(int index)
{
    return index % kColumns;
}
constexpr int indexOf(int row, int column)
{
    return row * kColumns + column;
}
constexpr bool isCell(int index)
{
    return index >= 0 && index < kCells;
}

/// The cells touching a cell by a side or a corner, at most eight.
class Neighbours {
public:
    constexpr const int* begin() const { return cells_.data(); }
    constexpr const int* end() const { return cells_.data() + count_; }
    constexpr int size() const { return count_; }
    constexpr void push(int index) { cells_[static_cast<std::size_t>(count_++)] = index; }

private:
    std::array<int, 8> cells_{};
    int count_ = 0;
};

/// The neighbours of a cell, always in the order right, left, up, down, up-left, up-right,
/// down-right, down-left, each only where it lies on the board (no wrap-around between
/// rows or between the top and bottom edges). Every rule that looks around a cell goes
/// through here, so numbering and reveal can never disagree. Precondition: isCell(index).
Neighbours neighbours(int index);

} // namespace volcanelle
