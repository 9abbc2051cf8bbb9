// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"
#include "engine/groupcount.h"

#include <cstddef>
#include <vector>

namespace volcanelle {

/// The most numbers a count keeps open at once: a state packs their needs, four bits each
/// (a number needs at most 8 mines), in 64 bits.
inline constexpr std::size_t kMostOpenNumbers = 16;

/// Puts `members` in the order in which GroupCount takes them: the one, of a greedy sweep
/// (next the class that opens fewest numbers for those it closes) and of sweeps by rows and by
/// columns, that keeps fewest numbers open at once. False when even that order keeps more
/// than kMostOpenNumbers open.
bool countingOrder(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                   std::vector<int>& members);

} // namespace volcanelle
