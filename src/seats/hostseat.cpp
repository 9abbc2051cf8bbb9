// SPDX-License-Identifier: GPL-3.0-or-later
#include "seats/hostseat.h"

#include "engine/minecount.h"
#include "engine/texts.h"
#include "net/hostgate.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QEventLoop>
#include <QTimer>

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
    Busy busy(*this);
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
    const Duel& duel = window_.duel();
    if (state_ != State::Playing || busy() || !seats_.deskMayClick(duel))
        return;
    Busy busy(*this);
    if (!duel.roundInPlay()) {
        // Only the player who clicked is told that the round is over.
        const texts::Message over = texts::roundOver();
        sayHere(over.text, over.title);
        return;
    }
    window_.duel().cmdCase_Click(index);
}

void HostSeat::newRoundChosen()
{
    if (state_ != State::Playing || busy())
        return;
    Busy busy(*this);
    const texts::Message question = texts::askNewRound();
    if (!static_cast<DuelView&>(window_).confirm(question.text, question.title))
        return;
    // Cancelling the count and confirming "Quitter" ends the duel; the verdict has been
    // shown on both sides.
    if (state_ == State::Playing && !window_.duel().nouvelleManche() && state_ == State::Playing) {
        send(wire::Bye{});
        link_->close();
        end(0);
    }
}

void HostSeat::quitChosen()
{
    if (state_ == State::Waiting) {
        end(0);
        return;
    }
    // While the joiner chooses the mine count this side may still quit.
    if (state_ != State::Playing || (busy() && !countWait_))
        return;
    Busy busy(*this);
    const texts::Message question = texts::askQuit();
    if (!static_cast<DuelView&>(window_).confirm(question.text, question.title) ||
        state_ != State::Playing)
        return;
    const Duel& duel = window_.duel();
    const texts::Message verdict =
        texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
    send(wire::Announce{verdict.text, verdict.title});
    send(wire::Bye{});
    state_ = State::Ended;
    link_->close();
    if (countWait_)
        countWait_->quit();
    sayHere(verdict.text, verdict.title);
    end(0);
}

void HostSeat::received(const wire::Message& message)
{
    if (std::holds_alternative<wire::Quit>(message) || std::holds_alternative<wire::Bye>(message))
        joinerLeft_ = true;
    if (countWait_ && std::holds_alternative<wire::Count>(message)) {
        count_ = std::get<wire::Count>(message);
        countWait_->quit();
        return;
    }
    // A joiner leaving while it chooses the count: stop waiting, its farewell comes next.
    if (countWait_ && joinerLeft_)
        countWait_->quit();
    take(message, *link_);
}

void HostSeat::play(const wire::Message& message)
{
    Duel& duel = window_.duel();
    if (const auto* click = std::get_if<wire::Click>(&message)) {
        if (!duel.roundInPlay()) {
            const texts::Message over = texts::roundOver();
            send(wire::Announce{over.text, over.title});
            return;
        }
        // Out of the joiner's turn the click is dropped; no box is open here (not busy).
        if (!seats_.mayPlay(Seat::Remote, duel, false))
            return;
        Busy busy(*this);
        duel.cmdCase_Click(click->index);
    } else if (std::holds_alternative<wire::NewRound>(message)) {
        Busy busy(*this);
        joinerChooses_ = true;
        duel.nouvelleManche();
        joinerChooses_ = false;
    } else if (std::holds_alternative<wire::Quit>(message) ||
               std::holds_alternative<wire::Bye>(message)) {
        Busy busy(*this);
        state_ = State::Ended;
        link_->close(0);
        const texts::Message verdict =
            texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
        sayHere(verdict.text, verdict.title);
        end(0);
    }
    // Anything else has no meaning from the joiner in play and is dropped.
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
    if (countWait_)
        countWait_->quit();
    sayHere(net::Link::reason(loss), texts::networkTitle());
    const Duel& duel = window_.duel();
    const texts::Message verdict =
        texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
    sayHere(verdict.text, verdict.title);
    end(1);
}

void HostSeat::sayHere(const QString& text, const QString& title)
{
    const bool wasQuiet = quiet_;
    quiet_ = true;
    static_cast<DuelView&>(window_).announce(text, title);
    quiet_ = wasQuiet;
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

void HostSeat::announce(const QString& text, const QString& title)
{
    send(wire::Announce{text, title});
}

std::optional<QString> HostSeat::askText(const QString& prompt, const QString& title)
{
    // With nobody left to answer, any accepted count lets the round setup return at once;
    // the duel ends right after.
    if (state_ != State::Playing)
        return QString::number(texts::kFewestMines);
    if (!joinerChooses_) {
        send(wire::CountBeingChosen{});
        return dialogs::askText(&window_, prompt, title, kMineEntryMaxLength);
    }

    quiet_ = true;
    static_cast<DuelView&>(window_).showMinesLeft(texts::countBeingChosen());
    quiet_ = false;
    send(wire::AskCount{});
    count_.reset();
    QEventLoop wait;
    countWait_ = &wait;
    wait.exec();
    countWait_ = nullptr;
    if (state_ != State::Playing || !count_)
        return QString::number(texts::kFewestMines);
    // The joiner settles a cancelled box on its side; a count without text is asked again.
    return count_->given ? count_->text : QString();
}

} // namespace volcanelle
