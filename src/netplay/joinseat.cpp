// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/joinseat.h"

#include "engine/minecount.h"
#include "engine/texts.h"
#include "net/comeback.h"
#include "netplay/netplay.h"
#include "netplay/networktexts.h"
#include "netplay/onlinetexts.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QTimer>

namespace volcanelle {

JoinSeat::JoinSeat(demin& window, net::Link* link, int side, QObject* parent)
    : NetSeat(State::Playing, parent), window_(window), link_(link), side_(side)
{
    window_.setCommands(this);
    listenTo(link);
}

void JoinSeat::setComeback(net::Comeback* comeback)
{
    comeback_ = comeback;
    comeback_->setParent(this);
    connect(comeback_, &net::Comeback::back, this, &JoinSeat::cameBack);
    connect(comeback_, &net::Comeback::gaveUp, this, [this] { endLost(net::Link::Loss::Silent); });
}

void JoinSeat::invite(const QString& text, const QString& link)
{
    ++boxesOpen_;
    dialogs::offerLinkLater(&window_, text, texts::onlineBoxTitle(), link, texts::copyLink(), this,
                            [this] { boxClosed(); });
}

bool JoinSeat::holds() const
{
    return boxesOpen_ > 0;
}

void JoinSeat::boxClosed()
{
    --boxesOpen_;
    // From the event loop: a box that follows at once holds the messages back again first.
    QTimer::singleShot(0, this, &JoinSeat::drain);
}

void JoinSeat::listenTo(net::Link* link)
{
    link_ = link;
    link_->setParent(this);
    connect(link_, &net::Link::received, this, &JoinSeat::received);
    connect(link_, &net::Link::lost, this, &JoinSeat::lost);
    link_->release();
}

JoinSeat::~JoinSeat()
{
    window_.setCommands(nullptr);
}

DuelView& JoinSeat::view()
{
    return window_.control();
}

void JoinSeat::cellClicked(int index)
{
    // While either side is away the duel waits: no move is sent.
    if (state_ != State::Playing || away_ || opponentAway_ || holds() || turn_ != side_ ||
        !isCell(index) || !window_.duel().board().isCovered(index))
        return;
    link_->send(wire::Click{static_cast<std::uint8_t>(index)});
}

void JoinSeat::newRoundChosen()
{
    // While the host is away nothing can be asked of it.
    if (state_ != State::Playing || away_ || opponentAway_ || holds())
        return;
    ++boxesOpen_;
    const texts::Message question = texts::askNewRound();
    dialogs::confirmLater(&window_, question.text, question.title, this, [this](bool yes) {
        boxClosed();
        if (yes && state_ == State::Playing)
            link_->send(wire::NewRound{});
    });
}

void JoinSeat::quitChosen()
{
    if (state_ != State::Playing || holds())
        return;
    confirmQuit([](bool) {});
}

void JoinSeat::confirmQuit(std::function<void(bool)> then)
{
    ++boxesOpen_;
    const texts::Message question = texts::askQuit();
    dialogs::confirmLater(&window_, question.text, question.title, this,
                          [this, then = std::move(then)](bool yes) {
                              boxClosed();
                              if (!yes || state_ != State::Playing) {
                                  then(false);
                                  return;
                              }
                              link_->send(wire::Quit{});
                              state_ = State::Ended;
                              link_->close();
                              if (comeback_)
                                  comeback_->stop();
                              sayVerdict([this] { end(0); });
                              then(true);
                          });
}

void JoinSeat::received(const wire::Message& message)
{
    if (std::holds_alternative<wire::Bye>(message))
        hostLeft_ = true;
    if (std::holds_alternative<wire::Announce>(message))
        ++boxesSeen_;
    else if (const auto* state = std::get_if<wire::Snapshot>(&message))
        boxesSeen_ = state->boxesSeen; // the boxes resent after it count from there
    if (std::holds_alternative<wire::AskCount>(message)) {
        // Asked again after a comeback while the question is already here.
        if (choosingCount_ || countQueued_)
            return;
        countQueued_ = true;
    }
    take(message, *link_);
}

void JoinSeat::play(const wire::Message& message)
{
    Board& board = window_.duel().board();
    if (const auto* cell = std::get_if<wire::Cell>(&message)) {
        if (cell->covered) {
            board.cover(cell->index);
            board.showPicture(cell->index, Picture::None);
        } else {
            board.showPicture(cell->index, static_cast<Picture>(cell->picture));
            const bool lifted = board.isCovered(cell->index);
            board.uncover(cell->index);
            if (lifted && moveOpened_++ == 0) {
                moveStart_ = cell->index;
                // The rest of the move comes in the same breath: finish it once they are in.
                QTimer::singleShot(0, this, &JoinSeat::finishMove);
            }
        }
    } else if (const auto* caption = std::get_if<wire::Caption>(&message)) {
        switch (caption->slot) {
        case wire::Caption::Slot::Turn:
            turn_ = caption->value;
            view().showTurn(caption->text);
            break;
        case wire::Caption::Slot::Score1:
        case wire::Caption::Slot::Score2:
            view().showScore(caption->slot == wire::Caption::Slot::Score1 ? 1 : 2, caption->text);
            break;
        case wire::Caption::Slot::Won1:
        case wire::Caption::Slot::Won2: {
            const int player = caption->slot == wire::Caption::Slot::Won1 ? 1 : 2;
            roundsWon_[static_cast<std::size_t>(player - 1)] = caption->value;
            view().showRoundsWon(player, caption->text);
            break;
        }
        case wire::Caption::Slot::MinesLeft:
            showStatus(caption->text);
            break;
        }
    } else if (const auto* box = std::get_if<wire::Announce>(&message)) {
        ++boxesOpen_;
        dialogs::announceLater(&window_, box->text, box->title, this, [this] { boxClosed(); });
    } else if (std::holds_alternative<wire::AskCount>(message)) {
        countQueued_ = false;
        chooseCount();
    } else if (std::holds_alternative<wire::CountBeingChosen>(message)) {
        showStatus(texts::countBeingChosen());
    } else if (const auto* state = std::get_if<wire::Snapshot>(&message)) {
        showSnapshot(*state);
    } else if (const auto* opponent = std::get_if<wire::Opponent>(&message)) {
        if (opponentAway_ != !opponent->present) {
            if (!away_ && !opponentAway_)
                statusBehind_ = window_.statusText();
            opponentAway_ = !opponent->present;
            showCover();
        }
    } else if (const auto* farewell = std::get_if<wire::Farewell>(&message)) {
        farewell_ = true;
        ++boxesOpen_;
        dialogs::announceLater(&window_, farewell->text, texts::onlineBoxTitle(), this,
                               [this] { boxClosed(); });
    } else if (std::holds_alternative<wire::Bye>(message)) {
        state_ = State::Ended;
        link_->close(0);
        // A room the server ended early ends this program as a lost connection does.
        end(farewell_ ? 1 : 0);
    }
    // Anything else has no meaning from the host in play and is dropped.
}

void JoinSeat::finishMove()
{
    if (moveStart_ >= 0)
        window_.finishShownMove(moveStart_, moveOpened_);
    moveStart_ = -1;
    moveOpened_ = 0;
}

void JoinSeat::chooseCount()
{
    choosingCount_ = true;
    ++boxesOpen_;
    dialogs::askTextLater(&window_, texts::mineCountPrompt(), texts::mineCountTitle(),
                          kMineEntryMaxLength, this, [this](std::optional<QString> typed) {
                              choosingCount_ = false;
                              boxClosed();
                              if (state_ != State::Playing)
                                  return;
                              // Typed while the host was away: it asks again once back.
                              if (typed && away_)
                                  return;
                              if (typed) {
                                  // Blanks around the digits mean nothing to the count: keep them
                                  // off the wire, so that no count is cut short by the longest text
                                  // a message carries.
                                  while (typed->startsWith(QLatin1Char(' ')))
                                      typed->remove(0, 1);
                                  while (typed->endsWith(QLatin1Char(' ')))
                                      typed->chop(1);
                                  link_->send(wire::Count{true, *typed});
                                  return;
                              }
                              // Cancelled: as at one desk, the player may leave, or is asked the
                              // count again.
                              confirmQuit([this](bool left) {
                                  if (!left)
                                      chooseCount();
                              });
                          });
}

void JoinSeat::lost(net::Link::Loss loss)
{
    if (state_ != State::Playing)
        return;
    if (hostLeft_) {
        // The host said goodbye; what it sent before is still being shown.
        drain();
        return;
    }
    // A connection that closed or fell silent may come back; one that spoke nonsense not.
    if (comeback_ && (loss == net::Link::Loss::Closed || loss == net::Link::Loss::Silent)) {
        goAway();
        return;
    }
    endLost(loss);
}

void JoinSeat::goAway()
{
    if (away_)
        return;
    if (!opponentAway_)
        statusBehind_ = window_.statusText();
    away_ = true;
    showCover();
    comeback_->start(boxesSeen_);
}

void JoinSeat::cameBack(net::Link* link)
{
    if (state_ != State::Playing) {
        link->close(0);
        link->deleteLater();
        return;
    }
    link_->disconnect(this);
    link_->deleteLater();
    listenTo(link);
    away_ = false;
    // The other end's snapshot comes next and writes the status bar over again.
    showCover();
}

void JoinSeat::endLost(net::Link::Loss loss)
{
    if (state_ != State::Playing)
        return;
    if (comeback_)
        comeback_->stop();
    state_ = State::Ended;
    dialogs::announceLater(&window_, lossText(loss), texts::networkTitle(), this,
                           [this] { sayVerdict([this] { end(1); }); });
}

void JoinSeat::showStatus(const QString& text)
{
    if (away_ || opponentAway_)
        statusBehind_ = text;
    else
        view().showMinesLeft(text);
}

void JoinSeat::showCover()
{
    if (away_)
        view().showMinesLeft(texts::connectionInterrupted());
    else if (opponentAway_)
        view().showMinesLeft(texts::opponentAway());
    else
        view().showMinesLeft(statusBehind_);
}

void JoinSeat::showSnapshot(const wire::Snapshot& state)
{
    Board& board = window_.duel().board();
    for (int index = 0; index < kCells; ++index) {
        const std::uint8_t picture = state.cells[static_cast<std::size_t>(index)];
        if (picture == 0) {
            board.cover(index);
            board.showPicture(index, Picture::None);
        } else {
            board.showPicture(index, static_cast<Picture>(picture));
            board.uncover(index);
        }
    }
    // A caption the host never wrote stays as it is here.
    if (state.turn != 0) {
        turn_ = state.turn;
        view().showTurn(state.turnText);
    }
    for (const int player : {1, 2}) {
        const auto slot = static_cast<std::size_t>(player - 1);
        if (!state.score[slot].isEmpty())
            view().showScore(player, state.score[slot]);
        if (!state.wonText[slot].isEmpty()) {
            roundsWon_[slot] = state.won[slot];
            view().showRoundsWon(player, state.wonText[slot]);
        }
    }
    if (state.countBeingChosen)
        showStatus(texts::countBeingChosen());
    else if (!state.minesLeft.isEmpty())
        showStatus(state.minesLeft);
}

void JoinSeat::sayVerdict(std::function<void()> then)
{
    const texts::Message verdict = texts::duelVerdict(roundsWon_[0], roundsWon_[1]);
    dialogs::announceLater(&window_, verdict.text, verdict.title, this, std::move(then));
}

} // namespace volcanelle
