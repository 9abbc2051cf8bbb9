// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/visibleboard.h"

#include <random>

namespace volcanelle {

/// A bench player that stands for an attentive person: it takes the mines that one number or
/// two overlapping numbers prove (and what those proofs lead to), never clicks a cell they
/// prove free while a proven mine is left, and otherwise clicks the covered cell with the
/// highest local mine density: the largest share, among the numbers around it, of mines
/// still needed to covered cells still unknown (for a cell next to no number, the mines left
/// spread over the unknown cells). Ties are broken at random.
int carefulCell(const VisibleBoard& seen, std::mt19937& random);

} // namespace volcanelle
