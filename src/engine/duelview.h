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
    /// Views watching a DuelControl are not asked: it hands questions to its seats.
    virtual void ask(Duel& duel, const Question& question)
    {
        (void)duel;
        (void)question;
    }
    /// A question was answered and the duel is in play again.
    virtual void settled() {}
    /// The players left: the duel is over (Duel::finished()).
    virtual void ended() {}
    /// A move on cell `index` has been played; it uncovered `opened` cells.
    virtual void moved(int index, int opened)
    {
        (void)index;
        (void)opened;
    }
};

} // namespace volcanelle
