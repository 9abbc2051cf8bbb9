// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"

#include <QString>
#include <optional>

namespace volcanelle {

/// Everything the duel shows to the players and asks of them. The game window implements
/// it with its labels, status bar and modal boxes; tests implement it with a script.
/// The board's covers and pictures reach the view through BoardObserver.
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

    /// A modal announcement with a single OK button; returns once it is dismissed.
    virtual void announce(const QString& text, const QString& title) = 0;
    /// A modal Yes/No question, No by default; true on Yes.
    virtual bool confirm(const QString& text, const QString& title) = 0;
    /// A modal input box with no default text; nothing when the players cancel it.
    virtual std::optional<QString> askText(const QString& prompt, const QString& title) = 0;
};

} // namespace volcanelle
