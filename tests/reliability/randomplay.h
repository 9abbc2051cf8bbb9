// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duel.h"
#include "engine/texts.h"
#include "scriptedview.h"
#include "seededrandom.h"

#include <QString>
#include <array>
#include <cstdint>

namespace volcanelle::testing {

/// What a random play went through.
struct PlayFigures {
    long long roundsFinished = 0;   ///< rounds played to their last mine
    long long roundsAbandoned = 0;  ///< rounds replaced by "Nouvelle manche" while in play
    long long clicks = 0;           ///< clicks on the board, refused ones included
    long long refusedEntries = 0;   ///< mine counts typed and refused before one was accepted
    int fewestFinishedPerCount = 0; ///< the least played mine count, in finished rounds
    QString failure;                ///< the first broken rule, empty when all held
};

/// Plays a duel at random against a model of the rules and checks, after every step, that
/// the duel and everything it shows agree with the model: which cells are covered (a mine
/// only ever by a click on it, a blank area exactly), points, mines left, rounds won, whose
/// turn it is, and every caption and message. The same seed plays the same duel.
class RandomPlay {
public:
    explicit RandomPlay(std::uint32_t seed);

    /// Plays until `rounds` rounds have been played to their end, mine counts 30 to 100 in
    /// turn, with "Nouvelle manche" now and then in the middle of a round and clicks after
    /// the end. Stops at the first broken rule.
    PlayFigures run(long long rounds);

private:
    bool setUpRound(bool fromCommand);
    bool click();
    bool afterRound();
    bool checkState();
    bool fail(const QString& what);
    void queueEntry(int mines, bool withRefused);
    static QString line(const char* kind, const QString& text);
    static QString announced(const texts::Message& message);

    // What the duel is expected to say, worked out once from the texts: the play repeats
    // these millions of times.
    static constexpr int kMostPoints = texts::kMostMines;
    std::array<QString, 2> turnCaption_;
    std::array<QString, 2> turnLine_;
    std::array<QString, kMostPoints + 1> scoreCaption_;
    std::array<std::array<QString, kMostPoints + 1>, 2> scoreLine_;
    std::array<QString, texts::kMostMines + 1> minesLeftCaption_;
    std::array<QString, texts::kMostMines + 1> statusLine_;
    QString roundOverLine_;
    QString roundFinishedLine_;

    std::uint32_t seed_;
    SeededRandom draws_;
    SeededRandom choices_;
    ScriptedView view_;
    Duel duel_;
    PlayFigures figures_;

    // The model: what the rules say the duel should hold.
    std::array<bool, kCells> covered_{};
    std::array<bool, kCells> mine_{};
    std::array<bool, kCells> blank_{};
    std::array<int, 2> score_{};
    std::array<int, 2> won_{};
    std::array<QString, 2> wonCaption_{};
    std::array<long long, texts::kMostMines - texts::kFewestMines + 1> finishedPerCount_{};
    int joueur_ = 1;
    int mines_ = 0;
    int minesLeft_ = 0;
    QString status_;
    QString typedShown_; // the accepted entry as it will be shown
    int finishesThisRound_ = 0;
    int verdictsThisRound_ = 0;
    long long roundsSetUp_ = 0;
};

} // namespace volcanelle::testing
