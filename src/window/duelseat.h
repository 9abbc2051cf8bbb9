// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelview.h"

namespace volcanelle {

/// One side of a duel played from two windows, one per player. A window given a seat hands
/// it the clicks and commands of its player instead of playing them itself, and tells it of
/// everything it shows (DuelView), so that the seat can pass it on to the other side. The
/// seat is also handed the duel's questions and decides who answers each.
class DuelSeat : public DuelView {
public:
    /// The player clicked the cover of cell `index`.
    virtual void cellClicked(int index) = 0;
    /// The player chose "Nouvelle manche"; nothing is confirmed yet.
    virtual void newRoundChosen() = 0;
    /// The player chose "Quitter"; nothing is confirmed yet.
    virtual void quitChosen() = 0;
};

} // namespace volcanelle
