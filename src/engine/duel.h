// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"
#include "engine/duelview.h"
#include "engine/randomsource.h"
#include "engine/texts.h"

#include <QString>
#include <array>

namespace volcanelle {

/// The index of the cell that a draw r picks, for 0 <= r < 1: every cell for an equal share
/// of the values. Values outside that range are held to its ends.
int drawnCell(double r);

/// The rules of a duel between two players who share one board and click in turn.
///
/// The duel starts with player 1 to play and no round won. Every round begins by covering
/// the board and asking how many mines to hide (30 to 100); the mines are then drawn at
/// random and every other cell is given the number of mines around it, or the blank picture.
///
/// The road of a click on a covered cell: while mines are still hidden the cover is lifted.
/// A mine gives the player who has the turn one point, and that player plays again; when it
/// was the last mine the round is over: it is announced, the player with more points wins
/// the round, and the turn passes anyway. Any other cell passes the turn to the other
/// player; if it is blank, its whole blank area then opens, which changes nothing but covers.
/// Once the last mine is found a click only tells that the round is over.
///
/// A new round can be asked for at any time; the turn and the rounds won carry over, so
/// after a finished round the player who did not find the last mine starts. Quitting names
/// the player who won more rounds.
class Duel {
public:
    /// `opponent` says how the texts name player 2.
    Duel(DuelView& view, RandomSource& random, texts::Opponent opponent = texts::Opponent::Person);

    /// Starts the duel and sets up its first round. False when the players cancelled the
    /// first mine-count question: they have nothing to lose yet, and the game should end.
    bool startDuel();

    /// Sets up a new round, replacing the one in play. False when the game should end: the
    /// first round's count was cancelled, or a later one was and the players then confirmed
    /// "Quitter" (they have had the duel's verdict). Declining to quit asks the count again.
    bool nouvelleManche();

    /// A click on cell `index`. Clicks on cells that are not covered, or outside the board,
    /// are ignored, during play and after it.
    void cmdCase_Click(int index);

    /// The "Nouvelle manche" command: asks for confirmation, then sets up a round. False
    /// when the players left the game from the mine-count question instead.
    bool askNewRound();

    /// The "Quitter" command: asks for confirmation and, on Yes, announces the winner of the
    /// duel on rounds won. True when the game should now end.
    bool askQuit();

    int joueur() const { return joueur_; }
    /// Points of `player` (1 or 2) in the round in play.
    int score(int player) const { return score_[slot(player)]; }
    /// Rounds won by `player` (1 or 2) since the duel began.
    int partiesGagnees(int player) const { return partiesGagnees_[slot(player)]; }
    int bombesRestantes() const { return bombesRestantes_; }
    bool roundInPlay() const { return bombesRestantes_ > 0; }

    const Board& board() const { return board_; }
    /// Direct access for tests and tools that stage a board.
    Board& board() { return board_; }

private:
    static std::size_t slot(int player) { return static_cast<std::size_t>(player - 1); }

    void placeMines(int count);
    void numberCells();
    void changeJoueur(int p);
    void decouvreAutour(int index);
    void endRound();

    DuelView& view_;
    RandomSource& random_;
    texts::Opponent opponent_;
    Board board_;
    int joueur_ = 1;
    std::array<int, 2> score_{};
    std::array<int, 2> partiesGagnees_{};
    int bombesRestantes_ = 0;
    bool firstRoundReady_ = false;
};

} // namespace volcanelle
