// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/visibleboard.h"

#include <random>

namespace volcanelle {

/// The cell chosen, and whether every count behind the choice was exact.
struct Plan {
    int cell = -1;
    bool exact = true;
};

/// The move of a player who plays the duel rather than the odds alone. A mine found keeps the
/// turn; a free cell hands it over together with whatever its number proves, so:
/// - a certain mine is always taken first;
/// - otherwise each covered cell is worth its chance of a mine, plus the mines that this
///   mine would prove in turn (still ours to take), minus, should it be free, the mines that
///   its number, or the blank area it opens, would prove for the opponent.
/// What a free cell would show comes from layouts of the hidden mines drawn with their exact
/// probabilities (Arrangements::draw); what follows from it, from Deduction. Among equal
/// worths, the cell with the fewest covered neighbours, then the lowest index.
Plan planDuelMove(const VisibleBoard& seen, std::mt19937& random);

} // namespace volcanelle
