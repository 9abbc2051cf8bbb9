// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/hostseat.h"

#include "engine/texts.h"
#include "net/hostgate.h"
#include "netplay/netplay.h"
#include "netplay/networktexts.h"
#include "remote/shown.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QTimer>
#include <utility>

namespace volcanelle {

HostSeat::HostSeat(demin& window, net::HostGate& gate, QObject* parent)
    : NetSeat(State::Waiting, parent), window_(window), control_(window.control()), gate_(gate)
{
    // Until an opponent comes the window plays nothing.
    window_.setCommands(this);
    control_.showTurn(texts::waitingForOpponent());
    connect(&gate, &net::HostGate::joined, this, &HostSeat::joined);
    connect(&gate, &net::HostGate::cameBack, this, &HostSeat::cameBack);
    connect(this, &NetSeat::finished, &gate, [&gate] { gate.closeComebacks(); });
    away_.setSingleShot(true);
    connect(&away_, &QTimer::timeout, this, [this] { endLost(net::Link::Loss::Silent); });
}

HostSeat::~HostSeat()
{
    window_.setCommands(nullptr);
    control_.removeView(this);
    if (control_.seat(2) == this)
        control_.setSeat(2, &window_);
}

void HostSeat::joined(net::Link* link)
{
    listenTo(link);
    state_ = State::Playing;
    window_.setCommands(nullptr);
    control_.setSeat(2, this);
    control_.addView(this);
    // Out of the gate's own handler before the first box opens.
    QTimer::singleShot(0, this, &HostSeat::startDuel);
}

void HostSeat::listenTo(net::Link* link)
{
    link_ = link;
    link_->setParent(this);
    connect(link_, &net::Link::received, this, &HostSeat::received);
    connect(link_, &net::Link::lost, this, &HostSeat::lost);
    link_->release();
}

void HostSeat::cameBack(net::Link* link, quint32 boxesSeen)
{
    if (state_ != State::Playing) {
        link->close(0);
        link->deleteLater();
        return;
    }
    // The old connection may not be known to be dead yet: the new one wins.
    link_->disconnect(this);
    link_->close(0);
    link_->deleteLater();
    listenTo(link);
    if (away()) {
        away_.stop();
        window_.setCommands(nullptr);
        window_.showConnectionStatus(statusBehind_);
    }
    for (const wire::Message& message : screen_.comeback(boxesSeen))
        link_->send(message);
    // A count the joiner was asked is asked again: the question may have been lost on the
    // way, and the joiner drops it when its box is still open.
    const Question& question = control_.duel().question();
    countAsked_ = question.kind == Question::Kind::Count && question.player == 2;
    if (countAsked_)
        link_->send(wire::AskCount{});
    // What the joiner sent before the loss and waits here may be played now.
    QTimer::singleShot(0, this, &HostSeat::drain);
}

void HostSeat::goAway()
{
    away_.start(awayLimitMs_);
    // The duel stands still until the joiner is back: this desk's clicks wait too.
    window_.setCommands(this);
    statusBehind_ = window_.statusText();
    keepAwayShown();
}

void HostSeat::keepAwayShown()
{
    if (!away())
        return;
    const QString shown = window_.statusText();
    if (shown == texts::connectionInterrupted())
        return;
    statusBehind_ = shown;
    window_.showConnectionStatus(texts::connectionInterrupted());
}

void HostSeat::startDuel()
{
    if (state_ == State::Playing)
        window_.Form_Load();
}

void HostSeat::quitChosen()
{
    if (state_ == State::Waiting) {
        end(0);
        return;
    }
    // The joiner is away: this desk may still leave, with the verdict so far.
    if (!away() || confirmingQuit_)
        return;
    confirmingQuit_ = true;
    const texts::Message question = texts::askQuit();
    dialogs::confirmLater(&window_, question.text, question.title, this,
                          [this](bool yes) { quitWhileAway(yes); });
}

void HostSeat::quitWhileAway(bool yes)
{
    confirmingQuit_ = false;
    // What the joiner sent, were it back, waited for the box.
    QTimer::singleShot(0, this, &HostSeat::drain);
    if (!yes || state_ != State::Playing)
        return;
    if (!away()) {
        // The joiner came back while the box was open: the duel quits by its own road, and
        // its verdict reaches both sides.
        control_.duel().quit(1);
        return;
    }
    away_.stop();
    state_ = State::Ended;
    const Duel& duel = control_.duel();
    const texts::Message verdict =
        texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
    sayHere(verdict.text, verdict.title);
    end(0);
}

void HostSeat::ended()
{
    if (state_ != State::Playing)
        return;
    // The host cancelled the first mine count: the duel ends before it began. Otherwise the
    // verdict has been shown on both sides.
    if (!inPlay_)
        send(wire::Announce{texts::opponentLeft(), texts::networkTitle()});
    send(wire::Bye{});
    state_ = State::Ended;
    link_->close();
    end(0);
}

void HostSeat::settled()
{
    inPlay_ = true;
    // What the joiner sent while this desk answered may be played now.
    QTimer::singleShot(0, this, &HostSeat::drain);
}

bool HostSeat::holds() const
{
    // While the duel waits for this desk, the joiner's messages wait too.
    const Question& question = control_.duel().question();
    return (question && question.player != 2) || confirmingQuit_;
}

void HostSeat::received(const wire::Message& message)
{
    if (std::holds_alternative<wire::Quit>(message) || std::holds_alternative<wire::Bye>(message))
        joinerLeft_ = true;
    take(message, *link_);
}

void HostSeat::play(const wire::Message& message)
{
    Duel& duel = control_.duel();
    if (const auto* click = std::get_if<wire::Click>(&message)) {
        // Out of the joiner's turn the click is refused; once the round is over the duel
        // tells the joiner so.
        control_.play(2, click->index);
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
    }
    // Anything else has no meaning from the joiner in play and is dropped.
}

void HostSeat::ask(Duel& duel, const Question& question)
{
    if (state_ != State::Playing)
        return;
    keepAwayShown();
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Count:
        // Asked again after "Quitter ?" here was declined: the joiner's box is still open.
        if (!std::exchange(countAsked_, true))
            send(wire::AskCount{});
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit:
        // The joiner's own questions were answered Yes on its side before it asked.
        duel.answer(true);
        return;
    case Question::Kind::Notice:
        // Shown there; the duel does not wait for the joiner to read it.
        send(wire::Announce{question.text, question.title});
        return;
    }
}

void HostSeat::othersAsked(const Question& question)
{
    if (question.kind == Question::Kind::Count)
        send(wire::CountBeingChosen{});
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
    // A connection that closed or fell silent may come back; one that spoke nonsense not.
    if (loss == net::Link::Loss::Closed || loss == net::Link::Loss::Silent) {
        if (!away())
            goAway();
        return;
    }
    endLost(loss);
}

void HostSeat::endLost(net::Link::Loss loss)
{
    if (state_ != State::Playing)
        return;
    away_.stop();
    state_ = State::Ended;
    sayHere(lossText(loss), texts::networkTitle());
    const Duel& duel = control_.duel();
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
    if (state_ != State::Playing)
        return;
    // Kept whether it goes out or not: a joiner that comes back is shown it.
    screen_.record(message);
    if (link_ && !away())
        link_->send(message);
}

void HostSeat::coverChanged(int index, bool covered)
{
    send(remote::coverShown(control_.duel(), index, covered));
}

void HostSeat::pictureChanged(int index, Picture picture)
{
    if (const auto shown = remote::pictureShown(control_.duel(), index, picture))
        send(*shown);
}

void HostSeat::showTurn(const QString& caption)
{
    send(remote::turnShown(control_.duel(), caption));
}

void HostSeat::showScore(int joueur, const QString& caption)
{
    send(remote::scoreShown(joueur, caption));
}

void HostSeat::showRoundsWon(int joueur, const QString& caption)
{
    send(remote::roundsWonShown(control_.duel(), joueur, caption));
}

void HostSeat::showMinesLeft(const QString& caption)
{
    send(remote::minesLeftShown(caption));
    keepAwayShown();
}

} // namespace volcanelle
