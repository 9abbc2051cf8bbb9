// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/seats.h"
#include "netplay/netseat.h"

namespace volcanelle {

class demin;
namespace net {
class HostGate;
}

/// The host's side of a network duel. The host is player 1 and holds the duel: its window
/// runs the rules, and everything the window shows is passed on to the joiner, except the
/// picture of a covered cell, which never leaves this program.
///
/// The window waits for an opponent; once one is let in by the gate, the duel starts here.
/// The joiner's clicks, new rounds and quitting arrive as messages and are played one at a
/// time, only when this side is not itself in the middle of a move or a box: a click out of
/// the joiner's turn is dropped. The duel's questions go to the player they are put to: the
/// joiner's are sent, and the duel waits for the answer, without blocking this side.
class HostSeat : public NetSeat {
    Q_OBJECT
public:
    HostSeat(demin& window, net::HostGate& gate, QObject* parent = nullptr);
    ~HostSeat() override;

private:
    // DuelSeat
    void cellClicked(int index) override;
    void newRoundChosen() override;
    void quitChosen() override;
    // DuelView: what the window shows, passed on.
    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void ask(Duel& duel, const Question& question) override;

    void joined(net::Link* link);
    void startDuel();
    void received(const wire::Message& message);
    void play(const wire::Message& message) override;
    void lost(net::Link::Loss loss) override;
    /// Shows a box on this side only.
    void sayHere(const QString& text, const QString& title);
    /// Answers `question` at this desk, holding the joiner's messages meanwhile.
    void answerHere(Duel& duel, const Question& question);
    /// Once the duel is over, says goodbye to the joiner and ends.
    void endIfFinished();
    void send(const wire::Message& message);

    demin& window_;
    const Seats seats_{Seat::Desk, Seat::Remote};
    net::Link* link_ = nullptr;
    bool quiet_ = false;
    bool joinerLeft_ = false;
    bool countAsked_ = false; // the joiner has been sent the count question
};

} // namespace volcanelle
