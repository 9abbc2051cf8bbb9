// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duel.h"

#include <array>

namespace volcanelle {

/// Who plays each side of a duel: the people at this desk, the computer, or the player at
/// the other end of a network duel.
enum class Seat { Desk, Computer, Remote };

/// The one rule of who may click the board now. A side played by the desk clicks through
/// the window; any other side plays by itself, and must wait its turn.
class Seats {
public:
    constexpr Seats(Seat first = Seat::Desk, Seat second = Seat::Desk) : seats_{first, second} {}

    /// Who plays `joueur` (1 or 2).
    constexpr Seat seat(int joueur) const { return seats_[joueur == 2 ? 1 : 0]; }
    /// True when every side is played at the desk: the two-player game.
    constexpr bool allAtDesk() const { return seats_[0] == Seat::Desk && seats_[1] == Seat::Desk; }

    /// Whether a click from the desk reaches the board: on a desk side's turn, and at any
    /// time once the round is over, when a click only tells so.
    bool deskMayClick(const Duel& duel) const
    {
        return seat(duel.joueur()) == Seat::Desk || !duel.roundInPlay();
    }

    /// Whether the side played by `who` may click now: only on its own turn while the round
    /// is in play, and never while the duel waits for an answer.
    bool mayPlay(Seat who, const Duel& duel) const
    {
        return who != Seat::Desk && seat(duel.joueur()) == who && duel.roundInPlay() &&
               !duel.question() && !duel.finished();
    }

private:
    std::array<Seat, 2> seats_;
};

} // namespace volcanelle
