// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/computerlevel.h"
#include "engine/seats.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace volcanelle {

class Duel;

/// The computer at one side of the duel: when that side has the turn, it clicks the cell its
/// level chooses (ComputerLevel), one click per beat, so the players can follow. The beat is
/// 600 ms, or VOLCANELLE_COMPUTER_PACE_MS milliseconds.
class ComputerPlayer : public QObject {
    Q_OBJECT
public:
    /// `click` plays a move on a cell as the window plays the desk's moves.
    ComputerPlayer(Duel& duel, const Seats& seats, Level level, std::function<void(int)> click,
                   QObject* parent = nullptr);

    /// The pace read from the environment: 600 ms when unset; a value that is not a whole
    /// number from 0 to 60000 is refused with a warning on stderr, and 600 ms kept.
    static int paceFromEnvironment();

    /// Looks at the board again after something changed (a click, a new round): if the
    /// computer now has the turn, it plays after one beat.
    void wake();

    int pace() const { return pace_; }
    Level level() const { return level_.level(); }

private:
    void play();

    Duel& duel_;
    const Seats& seats_;
    ComputerLevel level_;
    std::function<void(int)> click_;
    int pace_;
    QTimer beat_;
};

} // namespace volcanelle
