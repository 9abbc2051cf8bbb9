// SPDX-License-Identifier: GPL-3.0-or-later
#include "randomplay.h"

#include "engine/grid.h"

#include <algorithm>
#include <vector>

namespace volcanelle::testing {

namespace {

// How often the player does something other than clicking a covered cell.
constexpr int kNewRoundOneIn = 300;  // "Nouvelle manche" during a round
constexpr int kRefuseOneIn = 5;      // "Non" to that question
constexpr int kStrayClickOneIn = 50; // a click on an uncovered cell or outside the board

} // namespace

RandomPlay::RandomPlay(std::uint32_t seed)
    : roundOverLine_(announced(texts::roundOver())),
      roundFinishedLine_(announced(texts::roundFinished())), seed_(seed), draws_(seed),
      choices_(seed ^ 0x9e3779b9u), duel_(view_, draws_)
{
    for (std::size_t slot = 0; slot < 2; ++slot) {
        turnCaption_[slot] = texts::turnCaption(static_cast<int>(slot) + 1);
        turnLine_[slot] = line("turn", turnCaption_[slot]);
    }
    for (std::size_t n = 0; n < scoreCaption_.size(); ++n) {
        scoreCaption_[n] = texts::scoreCaption(static_cast<int>(n));
        scoreLine_[0][n] = line("score1", scoreCaption_[n]);
        scoreLine_[1][n] = line("score2", scoreCaption_[n]);
    }
    for (std::size_t n = 0; n < minesLeftCaption_.size(); ++n) {
        minesLeftCaption_[n] = texts::minesLeftCaption(static_cast<int>(n));
        statusLine_[n] = line("status", minesLeftCaption_[n]);
    }
}

QString RandomPlay::line(const char* kind, const QString& text)
{
    return QLatin1String(kind) + QStringLiteral(": ") + text;
}

QString RandomPlay::announced(const texts::Message& message)
{
    return QStringLiteral("announce: %1: %2").arg(message.title, message.text);
}

bool RandomPlay::fail(const QString& what)
{
    if (figures_.failure.isEmpty())
        figures_.failure = QStringLiteral("seed %1, round %2, click %3: %4")
                               .arg(seed_)
                               .arg(roundsSetUp_)
                               .arg(figures_.clicks)
                               .arg(what);
    return false;
}

PlayFigures RandomPlay::run(long long rounds)
{
    view_.typed.clear();
    queueEntry(texts::kFewestMines, false);
    if (!duel_.startDuel())
        fail(QStringLiteral("the first round was not set up"));
    else if (view_.log.value(0) != turnLine_[0])
        fail(QStringLiteral("the duel did not start with player 1: ") + view_.log.value(0));
    else {
        view_.log.removeFirst();
        setUpRound(false);
    }

    while (figures_.failure.isEmpty() && figures_.roundsFinished < rounds) {
        if (duel_.roundInPlay() && choices_.oneIn(kNewRoundOneIn)) {
            if (!setUpRound(true))
                break;
            continue;
        }
        if (!click())
            break;
        if (!duel_.roundInPlay() && !afterRound())
            break;
    }

    figures_.fewestFinishedPerCount =
        static_cast<int>(*std::min_element(finishedPerCount_.begin(), finishedPerCount_.end()));
    return figures_;
}

void RandomPlay::queueEntry(int mines, bool withRefused)
{
    // Now and then a refused entry first: the box must come back and change nothing. Not in
    // the duel's first round, where "Annuler" ends the game.
    static const std::array<std::optional<QString>, 6> refused{QString(),
                                                               QStringLiteral("29"),
                                                               QStringLiteral("101"),
                                                               QStringLiteral("3 0"),
                                                               QStringLiteral("trente"),
                                                               std::nullopt};
    while (withRefused && choices_.oneIn(8)) {
        const std::optional<QString>& entry =
            refused[static_cast<std::size_t>(choices_.between(0, 5))];
        view_.typed.push_back(entry);
        // "Annuler" asks whether to quit; "Non" brings the count back.
        if (!entry)
            view_.answers.push_back(false);
        ++figures_.refusedEntries;
    }
    // The accepted entry, sometimes with a leading zero or blanks around it.
    const QString digits = QString::number(mines);
    switch (choices_.between(0, 5)) {
    case 0:
        typedShown_ = QLatin1Char('0') + digits;
        view_.typed.push_back(typedShown_);
        break;
    case 1:
        typedShown_ = digits;
        view_.typed.push_back(QStringLiteral("  ") + digits + QLatin1Char(' '));
        break;
    default:
        typedShown_ = digits;
        view_.typed.push_back(digits);
    }
}

bool RandomPlay::setUpRound(bool fromCommand)
{
    // At the start of the duel the setup has already run; otherwise run the command.
    const int mines =
        texts::kFewestMines +
        static_cast<int>(roundsSetUp_ % (texts::kMostMines - texts::kFewestMines + 1));
    QStringList expected;
    if (fromCommand) {
        if (choices_.oneIn(kRefuseOneIn)) {
            view_.answers.push_back(false);
            duel_.askNewRound();
            expected << line("confirm", texts::askNewRound().title);
            if (view_.log != expected)
                return fail(QStringLiteral("\"Non\" to a new round did: ") + view_.log.join('|'));
            view_.log.clear();
            return checkState();
        }
        if (minesLeft_ > 0)
            ++figures_.roundsAbandoned;
        view_.answers.push_back(true);
        queueEntry(mines, true);
        expected << line("confirm", texts::askNewRound().title);
        for (const std::optional<QString>& entry : view_.typed) {
            expected << line("ask", texts::mineCountTitle());
            if (!entry)
                expected << line("confirm", texts::askQuit().title);
        }
        duel_.askNewRound();
    } else {
        expected << line("ask", texts::mineCountTitle());
    }
    if (!view_.typed.empty())
        return fail(QStringLiteral("an entry was left unread"));
    ++roundsSetUp_;

    expected << line("status", texts::minesLeftCaption(typedShown_)) << scoreLine_[0][0]
             << scoreLine_[1][0];
    if (view_.log != expected)
        return fail(QStringLiteral("round setup said: ") + view_.log.join('|'));
    view_.log.clear();

    // The new board, read once and checked: the right number of mines, and every other cell
    // numbered from its neighbours.
    mines_ = mines;
    minesLeft_ = mines_;
    int placed = 0;
    for (int index = 0; index < kCells; ++index) {
        const std::size_t i = static_cast<std::size_t>(index);
        covered_[i] = true;
        mine_[i] = duel_.board().isMine(index);
        placed += mine_[i] ? 1 : 0;
    }
    if (placed != mines_)
        return fail(QStringLiteral("%1 mines placed for %2").arg(placed).arg(mines_));
    for (int index = 0; index < kCells; ++index) {
        const std::size_t i = static_cast<std::size_t>(index);
        if (mine_[i])
            continue;
        int around = 0;
        for (const int n : neighbours(index))
            around += mine_[static_cast<std::size_t>(n)] ? 1 : 0;
        const Picture expectedPicture = around ? countPicture(around) : Picture::Blank;
        if (duel_.board().picture(index) != expectedPicture)
            return fail(QStringLiteral("cell %1 is wrongly numbered").arg(index));
        blank_[i] = around == 0;
    }
    score_ = {0, 0};
    status_ = texts::minesLeftCaption(typedShown_);
    finishesThisRound_ = 0;
    verdictsThisRound_ = 0;
    return checkState();
}

bool RandomPlay::click()
{
    int index = 0;
    if (choices_.oneIn(kStrayClickOneIn) || !duel_.roundInPlay()) {
        index = choices_.between(-1, kCells); // one past either end is off the board
    } else {
        // The k-th covered cell, k drawn among the covered ones.
        int k = choices_.between(
            1, static_cast<int>(std::count(covered_.begin(), covered_.end(), true)));
        while (k > 0)
            k -= covered_[static_cast<std::size_t>(index++)] ? 1 : 0;
        --index;
    }

    // What the rules expect, worked out on the model before the click.
    QStringList expected;
    const std::size_t i = static_cast<std::size_t>(index);
    if (!isCell(index) || !covered_[i]) {
        // Ignored, during play and after it: nothing to say, nothing changes.
    } else if (minesLeft_ == 0) {
        expected << roundOverLine_;
    } else if (mine_[i]) {
        covered_[i] = false;
        const std::size_t slot = static_cast<std::size_t>(joueur_ - 1);
        ++score_[slot];
        --minesLeft_;
        status_ = minesLeftCaption_[static_cast<std::size_t>(minesLeft_)];
        expected << scoreLine_[slot][static_cast<std::size_t>(score_[slot])]
                 << statusLine_[static_cast<std::size_t>(minesLeft_)];
        if (minesLeft_ == 0) {
            expected << roundFinishedLine_;
            const int winner = score_[0] > score_[1] ? 1 : score_[0] < score_[1] ? 2 : 0;
            expected << announced(winner ? texts::roundWonBy(winner) : texts::roundDrawn());
            if (winner) {
                const std::size_t w = static_cast<std::size_t>(winner - 1);
                wonCaption_[w] = texts::roundsWonCaption(++won_[w]);
                expected << line(winner == 1 ? "won1" : "won2", wonCaption_[w]);
            }
            joueur_ = joueur_ == 1 ? 2 : 1;
            expected << turnLine_[static_cast<std::size_t>(joueur_ - 1)];
        }
    } else {
        covered_[i] = false;
        joueur_ = joueur_ == 1 ? 2 : 1;
        expected << turnLine_[static_cast<std::size_t>(joueur_ - 1)];
        // The blank area: every blank cell reached opens its neighbours.
        std::vector<int> open;
        if (blank_[i])
            open.push_back(index);
        while (!open.empty()) {
            const int cell = open.back();
            open.pop_back();
            for (const int n : neighbours(cell)) {
                const std::size_t j = static_cast<std::size_t>(n);
                if (!covered_[j])
                    continue;
                covered_[j] = false;
                if (blank_[j])
                    open.push_back(n);
            }
        }
    }

    ++figures_.clicks;
    duel_.cmdCase_Click(index);

    for (const QString& said : std::as_const(view_.log)) {
        if (said == roundFinishedLine_)
            ++finishesThisRound_;
        else if (said.startsWith(QLatin1String("announce: ")) && said != roundOverLine_)
            ++verdictsThisRound_;
    }
    if (view_.log != expected)
        return fail(QStringLiteral("a click on cell %1 said \"%2\" instead of \"%3\"")
                        .arg(index)
                        .arg(view_.log.join('|'), expected.join('|')));
    view_.log.clear();
    return checkState();
}

bool RandomPlay::afterRound()
{
    if (finishesThisRound_ != 1 || verdictsThisRound_ != 1)
        return fail(QStringLiteral("the round ended %1 times with %2 verdicts")
                        .arg(finishesThisRound_)
                        .arg(verdictsThisRound_));
    ++figures_.roundsFinished;
    ++finishedPerCount_[static_cast<std::size_t>(mines_ - texts::kFewestMines)];

    // A few clicks after the end: each only tells that the round is over.
    for (int extra = choices_.between(0, 3); extra > 0; --extra)
        if (!click())
            return false;
    if (finishesThisRound_ != 1)
        return fail(QStringLiteral("the round ended again"));
    return setUpRound(true);
}

bool RandomPlay::checkState()
{
    int coveredMines = 0;
    int foundMines = 0;
    for (int index = 0; index < kCells; ++index) {
        const std::size_t i = static_cast<std::size_t>(index);
        const bool covered = duel_.board().isCovered(index);
        if (duel_.board().isMine(index) != mine_[i])
            return fail(QStringLiteral("cell %1 changed what it holds").arg(index));
        if (covered != covered_[i])
            return fail(mine_[i] && !covered
                            ? QStringLiteral("mine %1 uncovered without a click on it").arg(index)
                            : QStringLiteral("cell %1 is %2")
                                  .arg(index)
                                  .arg(covered ? QStringLiteral("still covered")
                                               : QStringLiteral("uncovered")));
        if (mine_[i])
            (covered ? coveredMines : foundMines) += 1;
    }
    if (duel_.bombesRestantes() != coveredMines || minesLeft_ != coveredMines)
        return fail(QStringLiteral("%1 mines left counted, %2 covered")
                        .arg(duel_.bombesRestantes())
                        .arg(coveredMines));
    if (view_.status != status_ ||
        QStringView(view_.status).left(view_.status.indexOf(' ')).toInt() != coveredMines)
        return fail(QStringLiteral("the status reads \"%1\" with %2 mines covered")
                        .arg(view_.status)
                        .arg(coveredMines));
    if (duel_.score(1) + duel_.score(2) != foundMines)
        return fail(QStringLiteral("points %1 + %2 for %3 mines found")
                        .arg(duel_.score(1))
                        .arg(duel_.score(2))
                        .arg(foundMines));
    for (int player = 1; player <= 2; ++player) {
        const std::size_t slot = static_cast<std::size_t>(player - 1);
        if (duel_.score(player) != score_[slot] ||
            view_.scores[slot] != scoreCaption_[static_cast<std::size_t>(score_[slot])])
            return fail(QStringLiteral("player %1 has %2 points, shown \"%3\"")
                            .arg(player)
                            .arg(duel_.score(player))
                            .arg(view_.scores[slot]));
        if (duel_.partiesGagnees(player) != won_[slot] ||
            view_.roundsWon[slot] != wonCaption_[slot])
            return fail(QStringLiteral("player %1 has won %2 rounds, shown \"%3\"")
                            .arg(player)
                            .arg(duel_.partiesGagnees(player))
                            .arg(view_.roundsWon[slot]));
    }
    if (duel_.joueur() != joueur_ ||
        view_.turn != turnCaption_[static_cast<std::size_t>(joueur_ - 1)])
        return fail(QStringLiteral("player %1 has the turn, shown \"%2\"")
                        .arg(duel_.joueur())
                        .arg(view_.turn));
    if (duel_.roundInPlay() != (minesLeft_ > 0))
        return fail(QStringLiteral("the round is wrongly in play or over"));
    return true;
}

} // namespace volcanelle::testing
