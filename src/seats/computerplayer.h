// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/computerlevel.h"
#include "engine/duelcontrol.h"

#include <QObject>
#include <QTimer>

namespace volcanelle {

/// The computer at one side of the duel: when that side has the turn, it clicks the cell its
/// level chooses (ComputerLevel), one click per beat, so the players can follow. The beat is
/// 600 ms, or VOLCANELLE_COMPUTER_PACE_MS milliseconds. It takes its seat and watches the
/// duel through `control`, which must outlive it.
class ComputerPlayer : public QObject, public DuelSeat, public DuelView {
    Q_OBJECT
public:
    ComputerPlayer(DuelControl& control, int player, Level level, QObject* parent = nullptr);
    ~ComputerPlayer() override;

    /// The pace read from the environment: 600 ms when unset; a value that is not a whole
    /// number from 0 to 60000 is refused with a warning on stderr, and 600 ms kept.
    static int paceFromEnvironment();

    int pace() const { return pace_; }
    Level level() const { return level_.level(); }

private:
    /// Looks at the board again after something changed: if the computer now has the turn,
    /// it plays after one beat.
    void wake();
    void play();

    // DuelSeat: the computer is never asked anything; a notice only needs passing.
    void ask(Duel&, const Question&) override {}
    // DuelView: any change may give the computer the turn.
    void coverChanged(int, bool) override {}
    void pictureChanged(int, Picture) override {}
    void showTurn(const QString&) override { wake(); }
    void showScore(int, const QString&) override {}
    void showRoundsWon(int, const QString&) override {}
    void showMinesLeft(const QString&) override {}
    void settled() override { wake(); }
    void moved(int, int) override { wake(); }

    DuelControl& control_;
    int player_;
    ComputerLevel level_;
    int pace_;
    QTimer beat_;
};

} // namespace volcanelle
