// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/hostseat.h"

#include "engine/texts.h"
#include "net/hostgate.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QTimer>
#include <utility>

namespace volcanelle {

HostSeat::HostSeat(demin& window, net::HostGate& gate, QObject* parent)
    : NetSeat(State::Waiting, parent), window_(window)
{
    window_.setSeat(this);
    static_cast<DuelView&>(window_).showTurn(texts::waitingForOpponent());
    connect(&gate, &net::HostGate::joined, this, &HostSeat::joined);
}

HostSeat::~HostSeat()
{
    window_.setSeat(nullptr);
}

void HostSeat::joined(net::Link* link)
{
    link_ = link;
    link_->setParent(this);
    connect(link_, &net::Link::received, this, &HostSeat::received);
    connect(link_, &net::Link::lost, this, &HostSeat::lost);
    link_->release();
    state_ = State::Playing;
    // Out of the gate's own handler before the first box opens.
    QTimer::singleShot(0, this, &HostSeat::startDuel);
}

void HostSeat::startDuel()
{
    if (state_ != State::Playing)
        return;
    if (window_.Form_Load())
        return;
    // The host cancelled the first mine count: the duel ends before it began.
    if (state_ != State::Playing)
        return;
    send(wire::Announce{texts::opponentLeft(), texts::networkTitle()});
    send(wire::Bye{});
    end(0);
}

void HostSeat::cellClicked(int index)
{
    if (state_ != State::Playing || busy() || !seats_.deskMayClick(window_.duel()))
        return;
    window_.playMove(index, 1);
    endIfFinished();
}

void HostSeat::newRoundChosen()
{
    if (state_ != State::Playing || busy())
        return;
    window_.duel().askNewRound(1);
    endIfFinished();
}

void HostSeat::quitChosen()
{
    if (state_ == State::Waiting) {
        end(0);
        return;
    }
    if (state_ != State::Playing || busy())
        return;
    window_.duel().askQuit(1);
    endIfFinished();
}

void HostSeat::endIfFinished()
{
    if (state_ != State::Playing || !window_.duel().finished())
        return;
    // The verdict has been shown on both sides.
    send(wire::Bye{});
    state_ = State::Ended;
    link_->close();
    end(0);
}

void HostSeat::received(const wire::Message& message)
{
    if (std::holds_alternative<wire::Quit>(message) || std::holds_alternative<wire::Bye>(message))
        joinerLeft_ = true;
    take(message, *link_);
}

void HostSeat::play(const wire::Message& message)
{
    Duel& duel = window_.duel();
    if (const auto* click = std::get_if<wire::Click>(&message)) {
        // Out of the joiner's turn the click is dropped; once the round is over the duel
        // tells the joiner so.
        if (duel.roundInPlay() && !seats_.mayPlay(Seat::Remote, duel))
            return;
        window_.playMove(click->index, 2);
    } else if (const auto* count = std::get_if<wire::Count>(&message)) {
        if (duel.question().kind != Question::Kind::Count || duel.question().player != 2)
            return;
        countAsked_ = false;
        // The joiner settles a cancelled box on its side; a count without text is asked again.
        duel.answerCount(count->given ? count->text : QString());
    } else if (std::holds_alternative<wire::NewRound>(message)) {
        duel.askNewRound(2);
    } else if (std::holds_alternative<wire::Quit>(message) ||
               std::holds_alternative<wire::Bye>(message)) {
        // The joiner has confirmed and shown the verdict on its side: only this side's is left.
        state_ = State::Ended;
        link_->close(0);
        const texts::Message verdict =
            texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
        sayHere(verdict.text, verdict.title);
        end(0);
        return;
    }
    // Anything else has no meaning from the joiner in play and is dropped.
    endIfFinished();
}

void HostSeat::ask(Duel& duel, const Question& question)
{
    if (state_ != State::Playing)
        return;
    const bool joiners = question.player == 2;
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Count:
        if (!joiners) {
            send(wire::CountBeingChosen{});
            answerHere(duel, question);
            return;
        }
        quiet_ = true;
        static_cast<DuelView&>(window_).showMinesLeft(texts::countBeingChosen());
        quiet_ = false;
        // Asked again after "Quitter ?" here was declined: the joiner's box is still open.
        if (!std::exchange(countAsked_, true))
            send(wire::AskCount{});
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit:
        // The joiner's own questions were answered Yes on its side before it asked.
        if (joiners)
            duel.answer(true);
        else
            answerHere(duel, question);
        return;
    case Question::Kind::Notice:
        if (question.player != 1)
            send(wire::Announce{question.text, question.title});
        if (joiners)
            duel.acknowledge();
        else
            answerHere(duel, question);
        return;
    }
}

void HostSeat::answerHere(Duel& duel, const Question& question)
{
    Busy busy(*this);
    window_.answerHere(duel, question);
}

void HostSeat::lost(net::Link::Loss loss)
{
    if (state_ != State::Playing)
        return;
    if (joinerLeft_) {
        // The joiner said goodbye first; its farewell is still waiting to be played.
        drain();
        return;
    }
    state_ = State::Ended;
    sayHere(loss == net::Link::Loss::Garbled ? texts::garbledMessage() : texts::connectionLost(),
            texts::networkTitle());
    const Duel& duel = window_.duel();
    const texts::Message verdict =
        texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
    sayHere(verdict.text, verdict.title);
    end(1);
}

void HostSeat::sayHere(const QString& text, const QString& title)
{
    dialogs::announce(&window_, text, title);
}

void HostSeat::send(const wire::Message& message)
{
    if (link_ && !quiet_ && state_ == State::Playing)
        link_->send(message);
}

void HostSeat::coverChanged(int index, bool covered)
{
    const Picture shown = covered ? Picture::None : window_.duel().board().picture(index);
    send(wire::Cell{static_cast<std::uint8_t>(index), covered,
                    static_cast<std::uint8_t>(pictureNumber(shown))});
}

void HostSeat::pictureChanged(int index, Picture picture)
{
    // A covered cell's new picture is a secret until its cover is lifted.
    if (!window_.duel().board().isCovered(index))
        send(wire::Cell{static_cast<std::uint8_t>(index), false,
                        static_cast<std::uint8_t>(pictureNumber(picture))});
}

void HostSeat::showTurn(const QString& caption)
{
    send(wire::Caption{wire::Caption::Slot::Turn,
                       static_cast<std::uint16_t>(window_.duel().joueur()), caption});
}

void HostSeat::showScore(int joueur, const QString& caption)
{
    send(wire::Caption{joueur == 1 ? wire::Caption::Slot::Score1 : wire::Caption::Slot::Score2, 0,
                       caption});
}

void HostSeat::showRoundsWon(int joueur, const QString& caption)
{
    send(wire::Caption{joueur == 1 ? wire::Caption::Slot::Won1 : wire::Caption::Slot::Won2,
                       static_cast<std::uint16_t>(window_.duel().partiesGagnees(joueur)), caption});
}

void HostSeat::showMinesLeft(const QString& caption)
{
    send(wire::Caption{wire::Caption::Slot::MinesLeft, 0, caption});
}

} // namespace volcanelle
