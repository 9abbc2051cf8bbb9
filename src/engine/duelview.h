// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"
#include "engine/question.h"

#include <QString>

namespace volcanelle {

class Duel;

/// Everything the duel shows to the players and asks of them. The game window implements
/// it with its labels, status bar and modal boxes; a fan-out passes it on to several sides;
/// tests implement it with a script. The board's covers and pictures reach the view through
/// BoardObserver.
class DuelView : public BoardObserver {
public:
    /// The turn label.
    virtual void showTurn(const QString& caption) = 0;
    /// The points label of `joueur` (1 or 2).
    virtual void showScore(int joueur, const QString& caption) = 0;
    /// The rounds-won label of `joueur` (1 or 2).
    virtual void showRoundsWon(int joueur, const QString& caption) = 0;
    /// The mines still hidden, in the status bar.
    virtual void showMinesLeft(const QString& caption) = 0;

    /// The duel now waits for `question` (never Kind::None). The view answers it through
    /// `duel`'s answer functions, at once or later; the duel does nothing else meanwhile.
    virtual void ask(Duel& duel, const Question& question) = 0;
};

} // namespace volcanelle
