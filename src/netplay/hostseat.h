// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelcontrol.h"
#include "netplay/netseat.h"
#include "wire/sidescreen.h"

#include <QTimer>

namespace volcanelle {

class demin;
namespace net {
class HostGate;
}

/// The host's side of a network duel. The host is player 1 and holds the duel: its window's
/// duel runs the rules, and this seat plays player 2 there. Everything the duel shows is
/// passed on to the joiner, except the picture of a covered cell, which never leaves this
/// program.
///
/// The window waits for an opponent; once one is let in by the gate, the duel starts here.
/// The joiner's clicks, new rounds and quitting arrive as messages and are played one at a
/// time, held while the duel waits for this desk's answer: a click out of the joiner's turn
/// is refused. The questions put to the joiner are sent, and the duel waits for the answer.
///
/// When the connection is lost the duel stands still, this desk included, while the joiner
/// has the time a side may be away to come back through the gate with its token; it is then
/// shown the duel as it stands, and the boxes it missed. Past that time the duel ends.
class HostSeat : public NetSeat, public DuelSeat, public DuelView {
    Q_OBJECT
public:
    HostSeat(demin& window, net::HostGate& gate, QObject* parent = nullptr);
    ~HostSeat() override;

    /// How long the joiner may be away before the duel ends; tests shorten it.
    void setAwayLimit(int ms) { awayLimitMs_ = ms; }

private:
    // DeskCommands: the window's commands while no opponent has come.
    void cellClicked(int) override {}
    void newRoundChosen() override {}
    void quitChosen() override;
    /// The desk answered "Quitter ?" while the joiner was away.
    void quitWhileAway(bool yes);
    // DuelSeat: player 2's questions go to the joiner.
    void ask(Duel& duel, const Question& question) override;
    void othersAsked(const Question& question) override;
    // DuelView: what the duel shows, passed on.
    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void settled() override;
    void ended() override;

    void joined(net::Link* link);
    void listenTo(net::Link* link);
    void cameBack(net::Link* link, quint32 boxesSeen);
    void goAway();
    bool away() const { return away_.isActive(); }
    /// While the joiner is away the status bar says so, whatever the duel writes there.
    void keepAwayShown();
    /// The connection is gone for good: the reason and the verdict here, then the end.
    void endLost(net::Link::Loss loss);
    void startDuel();
    void received(const wire::Message& message);
    void play(const wire::Message& message) override;
    bool holds() const override;
    void lost(net::Link::Loss loss) override;
    /// Shows a box on this side only.
    void sayHere(const QString& text, const QString& title);
    void send(const wire::Message& message);

    demin& window_;
    DuelControl& control_;
    net::HostGate& gate_;
    net::Link* link_ = nullptr;
    wire::SideScreen screen_; // what the joiner has been shown, for its comeback
    QTimer away_;             // runs while the joiner is away
    int awayLimitMs_ = net::kAwayMs;
    QString statusBehind_; // the status the interruption covers
    bool joinerLeft_ = false;
    bool confirmingQuit_ = false; // "Quitter ?" is open while the joiner is away
    bool countAsked_ = false;     // the joiner has been sent the count question
    bool inPlay_ = false;         // the first round's count has been chosen
};

} // namespace volcanelle
