// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/groupcount.h"

#include <vector>

namespace volcanelle {

/// A group too large to count, in the form the solver joins with the rest of the board.
struct GroupEstimate {
    /// Stands for the arrangements by number of mines in the group.
    std::vector<double> byMines;
    /// For each member, its mines for each entry of byMines.
    std::vector<std::vector<double>> classMines;
};

/// Estimates a group that could not be counted. Each class's odds are counted exactly on a
/// window of the group: the numbers it touches, the numbers those numbers' classes touch, and
/// every class of those numbers, the numbers further out left aside; each mine in the window
/// weighs density / (1 - density), as in a board of that density around it. The group's
/// mine count then follows a binomial tilted to the mines these odds add up to, shared among
/// the classes by their odds. A window too large to count falls back to its numbers' mean
/// share of mines.
GroupEstimate estimateGroup(const std::vector<CellClass>& classes,
                            const std::vector<Demand>& demands, const std::vector<int>& members,
                            double density);

} // namespace volcanelle
