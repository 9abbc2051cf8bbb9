// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duel.h"

#include <array>
#include <vector>

namespace volcanelle {

/// Who plays one side of a duel held by a DuelControl: the desk, the computer, the other end
/// of a network duel. A seat answers the questions put to its player through the duel.
class DuelSeat {
public:
    virtual ~DuelSeat() = default;
    /// The duel asks `question` of this seat's player, or of everyone (a notice for player
    /// 0): answer it through `duel`, now or later. A seat that does not read notices is
    /// handed a notice only to pass it on; the duel does not wait for it.
    virtual void ask(Duel& duel, const Question& question) = 0;
    /// Whether the duel waits for this seat's player to read a notice (a box at the desk).
    virtual bool readsNotices() const { return false; }
    /// `question` was put to the player of another seat.
    virtual void othersAsked(const Question& question) { (void)question; }
};

/// A duel, who plays each side and who watches it. Everything the duel shows goes to every
/// view, in the order the views were added; each question goes to the seat of the player
/// asked; every move, whoever makes it, takes play(), which tells every view what it did.
/// No widgets and no event loop: a program may hold any number of these.
class DuelControl : public DuelView {
public:
    /// `opponent` says how the duel's texts name player 2.
    explicit DuelControl(RandomSource& random, texts::Opponent opponent = texts::Opponent::Person);

    Duel& duel() { return duel_; }
    const Duel& duel() const { return duel_; }

    /// Seats `seat` at side `player` (1 or 2); one seat may play both sides.
    void setSeat(int player, DuelSeat* seat);
    DuelSeat* seat(int player) const { return seats_[slot(player)]; }
    void addView(DuelView* view);
    void removeView(DuelView* view);

    /// The one rule of who may click the board: the player who has the turn while the round
    /// is in play, anyone once it is over (to be told so); nobody while the duel waits for
    /// an answer or once it has ended.
    bool mayClick(int player) const;
    /// The player `seat` clicks for now: the one who has the turn when it plays that side,
    /// else the first side it plays; 0 when it plays none.
    int playerOf(const DuelSeat* seat) const;
    /// A move of `player` on cell `index`: played when they may click, then every view is
    /// told what it opened. False when refused.
    bool play(int player, int index);

    // DuelView: the duel's output, passed on.
    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void ask(Duel& duel, const Question& question) override;
    void settled() override;
    void ended() override;

private:
    static std::size_t slot(int player) { return player == 2 ? 1 : 0; }
    template <class Call> void each(Call call);
    /// Each seat once, side 1's first, even when one seat plays both sides.
    std::vector<DuelSeat*> distinctSeats() const;

    Duel duel_;
    std::array<DuelSeat*, 2> seats_{};
    std::vector<DuelView*> views_;
};

} // namespace volcanelle
