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
///
/// The duel never blocks. Whenever it needs an answer it enters a question (question(),
/// handed to DuelView::ask()) and waits; nothing else moves it on until the question is
/// answered, at once from inside ask() or at any later time:
///   - Count (asked of the player who started the round): answerCount(text) with what was
///     typed (a count it cannot read is asked again), or cancel(). Cancelling the first
///     count ends the duel at once; a later one asks that player "Quitter ?".
///   - NewRound, Quit: answer(yes). "Quitter ?" answered No after a cancelled count asks the
///     count again; Yes gives the verdict notice, then the duel is finished().
///   - Notice (a round's end, its winner, the verdict, "the round is over"): acknowledge().
/// Calls that do not fit the question in progress are ignored, as are clicks and commands
/// while one waits. Every call runs to its end without an event loop, so one program may hold
/// any number of duels, each side played from anywhere. DuelControl (duelcontrol.h) holds a
/// duel with a seat per side: it routes each question to the seat of the player asked, passes
/// what the duel shows on to every view, and is the one road of every move.
class Duel {
public:
    /// `opponent` says how the texts name player 2.
    Duel(DuelView& view, RandomSource& random, texts::Opponent opponent = texts::Opponent::Person);

    /// Starts the duel and sets up its first round: player 1 is asked the count. False when
    /// the duel has already ended (the first count cancelled at once).
    bool startDuel();

    /// Sets up a new round, replacing the one in play, and asks its count of `by`. False
    /// when the duel has already ended.
    bool nouvelleManche(int by = 1);

    /// A click on cell `index` by player `by` (0: whoever plays at this desk). Clicks on cells
    /// that are not covered, or outside the board, are ignored, during play and after it;
    /// once the round is over, `by` is told so.
    void cmdCase_Click(int index, int by = 0);

    /// The "Nouvelle manche" command of player `by`: asks them "Nouvelle manche ?", then the
    /// count. False when the duel has already ended.
    bool askNewRound(int by = 1);

    /// The "Quitter" command of player `by`: asks them "Quitter ?" and, on Yes, gives the
    /// verdict on rounds won. True when the duel has already ended. It may interrupt a count
    /// asked of the other player, which is asked again if `by` declines.
    bool askQuit(int by = 1);
    /// "Quitter" already confirmed by player `by` where the duel could not ask it (a network
    /// host asked its own box while the other side was away): the verdict, as after Yes.
    /// Ignored, like askQuit(), while another question waits. True when the duel has ended.
    bool quit(int by = 1);

    /// Answers to the question in progress; see the class comment.
    void answerCount(const QString& typed);
    void cancel();
    void answer(bool yes);
    void acknowledge();

    /// What the duel waits for; Kind::None while in play and once over.
    const Question& question() const { return question_; }
    /// The players left: the game should end.
    bool finished() const { return finished_; }

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
    /// What follows once the notice in progress is acknowledged.
    enum class Then { Play, Verdict, CreditWinner, Finish };
    void ask(Question question);
    void askCount();
    void notice(int player, const QString& text, const QString& title, Then then);
    void giveVerdict(); // the duel's verdict on rounds won, to every player, then the end
    void setUp(int mines, const QString& shown);

    DuelView& view_;
    RandomSource& random_;
    texts::Opponent opponent_;
    Board board_;
    int joueur_ = 1;
    std::array<int, 2> score_{};
    std::array<int, 2> partiesGagnees_{};
    int bombesRestantes_ = 0;
    bool firstRoundReady_ = false;
    bool finished_ = false;
    Question question_;
    Then then_ = Then::Play;
    int roundWinner_ = 0;
    int counter_ = 1;            // who chooses this round's count
    bool quitFromCount_ = false; // "Quitter ?" came from a count: No asks it again
};

} // namespace volcanelle
