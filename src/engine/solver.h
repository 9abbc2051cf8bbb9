// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"
#include "engine/visibleboard.h"

#include <array>

namespace volcanelle {

/// The chance that each covered cell hides a mine, given every number shown and the count
/// of mines still hidden, every arrangement that fits them being equally likely.
struct MineOdds {
    /// For covered cells, 0 to 1; 0 for uncovered ones.
    std::array<double, kCells> mine{};
    /// False when some part of the board had too many arrangements to count within the time
    /// bound, and its odds were estimated from each number alone.
    bool exact = true;
    /// False when no arrangement fits what is shown (a board no round can give); the odds
    /// are then the same for every covered cell.
    bool consistent = true;
};

/// Counts the arrangements of the hidden mines. Covered cells that touch shown numbers fall
/// into independent groups (linked through the numbers they share); inside a group, cells
/// touching exactly the same numbers are counted together. Each group's arrangements are
/// counted by number of mines, and the groups are joined with the cells that touch no number
/// through the count of mines left, weighted by binomials taken in logarithms.
MineOdds mineOdds(const VisibleBoard& seen);

/// The covered cell the computer clicks: the one most likely to hide a mine, so certain
/// mines first. Among equal odds, the cell with the fewest covered neighbours, so that if
/// it proves free its number tells the opponent about as few cells as possible; then the
/// lowest index. -1 when no cell is covered.
int bestCell(const VisibleBoard& seen, const MineOdds& odds);

} // namespace volcanelle
