// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/duelcontrol.h"

#include <algorithm>

namespace volcanelle {

DuelControl::DuelControl(RandomSource& random, texts::Opponent opponent)
    : duel_(*this, random, opponent)
{
}

void DuelControl::setSeat(int player, DuelSeat* seat)
{
    seats_[slot(player)] = seat;
}

void DuelControl::addView(DuelView* view)
{
    views_.push_back(view);
}

void DuelControl::removeView(DuelView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

template <class Call> void DuelControl::each(Call call)
{
    // A view may leave while it is told something (a seat that ends): walk a copy.
    const std::vector<DuelView*> views = views_;
    for (DuelView* view : views)
        if (std::find(views_.begin(), views_.end(), view) != views_.end())
            call(*view);
}

std::vector<DuelSeat*> DuelControl::distinctSeats() const
{
    std::vector<DuelSeat*> seats;
    for (DuelSeat* seat : seats_)
        if (seat && std::find(seats.begin(), seats.end(), seat) == seats.end())
            seats.push_back(seat);
    return seats;
}

bool DuelControl::mayClick(int player) const
{
    if (duel_.finished() || duel_.question() || (player != 1 && player != 2))
        return false;
    return !duel_.roundInPlay() || duel_.joueur() == player;
}

int DuelControl::playerOf(const DuelSeat* seat) const
{
    if (seat && seat == seats_[slot(duel_.joueur())])
        return duel_.joueur();
    for (const int player : {1, 2})
        if (seat && seats_[slot(player)] == seat)
            return player;
    return 0;
}

bool DuelControl::play(int player, int index)
{
    if (!mayClick(player))
        return false;
    const int coveredBefore = duel_.board().coveredCount();
    duel_.cmdCase_Click(index, player);
    const int opened = coveredBefore - duel_.board().coveredCount();
    each([&](DuelView& view) { view.moved(index, opened); });
    return true;
}

void DuelControl::ask(Duel& duel, const Question& question)
{
    // Everyone else hears first, so that a remote side's box opens while a desk's waits.
    DuelSeat* asked = question.player ? seats_[slot(question.player)] : nullptr;
    if (!question.player || question.kind == Question::Kind::Notice) {
        DuelSeat* reader = nullptr;
        for (DuelSeat* seat : distinctSeats()) {
            const bool told = !question.player || seat == asked;
            if (told && seat->readsNotices() && !reader)
                reader = seat;
            else if (told)
                seat->ask(duel, question);
            else
                seat->othersAsked(question);
        }
        if (reader)
            reader->ask(duel, question);
        else
            duel.acknowledge();
        return;
    }
    for (DuelSeat* seat : distinctSeats())
        if (seat != asked)
            seat->othersAsked(question);
    if (asked)
        asked->ask(duel, question);
}

void DuelControl::settled()
{
    each([](DuelView& view) { view.settled(); });
}

void DuelControl::ended()
{
    each([](DuelView& view) { view.ended(); });
}

void DuelControl::coverChanged(int index, bool covered)
{
    each([&](DuelView& view) { view.coverChanged(index, covered); });
}

void DuelControl::pictureChanged(int index, Picture picture)
{
    each([&](DuelView& view) { view.pictureChanged(index, picture); });
}

void DuelControl::showTurn(const QString& caption)
{
    each([&](DuelView& view) { view.showTurn(caption); });
}

void DuelControl::showScore(int joueur, const QString& caption)
{
    each([&](DuelView& view) { view.showScore(joueur, caption); });
}

void DuelControl::showRoundsWon(int joueur, const QString& caption)
{
    each([&](DuelView& view) { view.showRoundsWon(joueur, caption); });
}

void DuelControl::showMinesLeft(const QString& caption)
{
    each([&](DuelView& view) { view.showMinesLeft(caption); });
}

} // namespace volcanelle
