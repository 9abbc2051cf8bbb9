// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"

#include <array>
#include <cstdint>

namespace volcanelle {

/// The board as a player sees it: which cells are covered, what each uncovered cell shows,
/// and how many mines are still hidden. It holds nothing about what lies under a cover, so
/// whatever decides from it (the computer player, the solver) cannot read a hidden mine.
class VisibleBoard {
public:
    /// What a cell shows: kCovered, 0 for blank, 1 to 8 for a number, kFoundMine.
    static constexpr std::int8_t kCovered = -1;
    static constexpr std::int8_t kFoundMine = 9;

    /// Copies the covers of `board`, the pictures of its uncovered cells only, and the count
    /// of mines still hidden.
    VisibleBoard(const Board& board, int minesLeft);

    bool isCovered(int index) const { return seen(index) == kCovered; }
    /// What cell `index` shows (0 <= index < 225).
    std::int8_t seen(int index) const { return cells_[static_cast<std::size_t>(index)]; }
    int minesLeft() const { return minesLeft_; }
    int coveredCount() const;

private:
    std::array<std::int8_t, kCells> cells_;
    int minesLeft_;
};

} // namespace volcanelle
