// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/remoteside.h"

#include "remote/shown.h"

#include <algorithm>
#include <utility>

namespace volcanelle::remote {

RemoteSide::RemoteSide(DuelControl& control, int player, Send send)
    : control_(control), player_(player == 2 ? 2 : 1), send_(std::move(send))
{
    control_.setSeat(player_, this);
    control_.addView(this);
}

RemoteSide::~RemoteSide()
{
    control_.removeView(this);
    if (control_.seat(player_) == this)
        control_.setSeat(player_, nullptr);
}

bool RemoteSide::owesCount() const
{
    const Question& question = control_.duel().question();
    return question.kind == Question::Kind::Count && question.player == player_;
}

void RemoteSide::receive(const wire::Message& message)
{
    Duel& duel = control_.duel();
    if (duel.finished())
        return;
    if (const auto* click = std::get_if<wire::Click>(&message)) {
        // Out of turn, or while the duel waits for an answer, the move is refused; a cell
        // that is not covered changes nothing.
        if (click->index < kCells && duel.board().isCovered(click->index))
            control_.play(player_, click->index);
    } else if (const auto* count = std::get_if<wire::Count>(&message)) {
        if (!owesCount())
            return;
        countAsked_ = false;
        // A box closed without a count is asked again, as a count that cannot be read.
        duel.answerCount(count->given ? count->text : QString());
    } else if (std::holds_alternative<wire::NewRound>(message)) {
        duel.askNewRound(player_);
    } else if (std::holds_alternative<wire::Quit>(message) ||
               std::holds_alternative<wire::Bye>(message)) {
        // Leaving from the count box cancels it, as at one desk.
        if (owesCount()) {
            countAsked_ = false;
            duel.cancel();
        } else {
            duel.askQuit(player_);
        }
    }
    // Anything else has no meaning from a side in play and is dropped.
}

void RemoteSide::replay(std::uint32_t boxesSeen)
{
    // The side's own count holds when it knows it: a box may have gone out on a connection
    // that was already dead, and been counted here as received.
    if (boxesSeen != wire::kBoxesUnknown)
        boxesSeen_ = std::min(boxesSeen_, boxesSeen);
    for (const wire::Message& message : screen_.comeback(boxesSeen_))
        if (send_(message) && std::holds_alternative<wire::Announce>(message))
            ++boxesSeen_;
    // The question may have been lost on the way: ask it again.
    countAsked_ = owesCount();
    if (countAsked_)
        send_(wire::AskCount{});
}

void RemoteSide::tell(const QString& text, const QString& title)
{
    send(wire::Announce{text, title});
}

void RemoteSide::ask(Duel& duel, const Question& question)
{
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Count:
        // Asked again after "Quitter ?" was declined elsewhere: the side's box is still open.
        if (!std::exchange(countAsked_, true))
            send(wire::AskCount{});
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit:
        // Confirmed at the side's end before it was sent.
        duel.answer(true);
        return;
    case Question::Kind::Notice:
        send(wire::Announce{question.text, question.title});
        return;
    }
}

void RemoteSide::othersAsked(const Question& question)
{
    if (question.kind == Question::Kind::Count)
        send(wire::CountBeingChosen{});
}

void RemoteSide::send(const wire::Message& message)
{
    // Kept whether it goes out or not: a side that comes back is shown it.
    screen_.record(message);
    if (send_(message) && std::holds_alternative<wire::Announce>(message))
        ++boxesSeen_;
}

void RemoteSide::coverChanged(int index, bool covered)
{
    send(coverShown(control_.duel(), index, covered));
}

void RemoteSide::pictureChanged(int index, Picture picture)
{
    if (const auto shown = pictureShown(control_.duel(), index, picture))
        send(*shown);
}

void RemoteSide::showTurn(const QString& caption)
{
    send(turnShown(control_.duel(), caption));
}

void RemoteSide::showScore(int joueur, const QString& caption)
{
    send(scoreShown(joueur, caption));
}

void RemoteSide::showRoundsWon(int joueur, const QString& caption)
{
    send(roundsWonShown(control_.duel(), joueur, caption));
}

void RemoteSide::showMinesLeft(const QString& caption)
{
    send(minesLeftShown(caption));
}

} // namespace volcanelle::remote
