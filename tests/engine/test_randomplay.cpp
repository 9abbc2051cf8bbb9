// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/duel.h"
#include "engine/texts.h"
#include "scriptedview.h"
#include "seededdraws.h"

#include <QTest>
#include <random>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

using Cells = std::array<bool, kCells>;

Cells uncoveredCells(const Board& board)
{
    Cells cells{};
    for (int cell = 0; cell < kCells; ++cell)
        cells[static_cast<std::size_t>(cell)] = !board.isCovered(cell);
    return cells;
}

// The blank area joined to `start` with the cells around it, found from rows and columns.
Cells blankArea(const Board& board, int start)
{
    Cells reached{};
    reached[static_cast<std::size_t>(start)] = true;
    std::vector<int> todo{start};
    while (!todo.empty()) {
        const int cell = todo.back();
        todo.pop_back();
        if (!board.isBlank(cell))
            continue;
        for (int row = rowOf(cell) - 1; row <= rowOf(cell) + 1; ++row)
            for (int column = columnOf(cell) - 1; column <= columnOf(cell) + 1; ++column) {
                if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
                    continue;
                const int other = indexOf(row, column);
                if (!reached[static_cast<std::size_t>(other)]) {
                    reached[static_cast<std::size_t>(other)] = true;
                    todo.push_back(other);
                }
            }
    }
    return reached;
}

QString announced(const texts::Message& message)
{
    return QStringLiteral("announce: %1: %2").arg(message.title, message.text);
}

int coveredMines(const Board& board)
{
    int mines = 0;
    for (int cell = 0; cell < kCells; ++cell)
        mines += board.isCovered(cell) && board.isMine(cell) ? 1 : 0;
    return mines;
}

// What must hold once a click on `cell` has been handled; empty when all is well.
QString brokenRule(const Duel& duel, const ScriptedView& view, const Cells& before,
                   const Cells& clickedMines, int cell)
{
    const Board& board = duel.board();
    Cells expected = board.isBlank(cell) ? blankArea(board, cell) : Cells{};
    expected[static_cast<std::size_t>(cell)] = true;
    for (int other = 0; other < kCells; ++other) {
        const auto at = static_cast<std::size_t>(other);
        if (board.isCovered(other) == (before[at] || expected[at]))
            return QStringLiteral("cell %1 has the wrong cover").arg(other);
        if (!board.isCovered(other) && board.isMine(other) && !clickedMines[at])
            return QStringLiteral("mine %1 uncovered without a click").arg(other);
        if (!board.isCovered(other) && board.isBlank(other))
            for (const int n : neighbours(other))
                if (board.isCovered(n))
                    return QStringLiteral("blank %1 left %2 covered").arg(other).arg(n);
    }
    const int hidden = coveredMines(board);
    if (view.status != texts::minesLeftCaption(hidden))
        return QStringLiteral("status \"%1\" with %2 mines hidden").arg(view.status).arg(hidden);
    if (duel.bombesRestantes() != hidden)
        return QStringLiteral("count %1 with %2 mines hidden")
            .arg(duel.bombesRestantes())
            .arg(hidden);
    if (view.turn != texts::turnCaption(duel.joueur()))
        return QStringLiteral("turn label \"%1\"").arg(view.turn);
    return {};
}

} // namespace

class RandomPlayTest : public QObject {
    Q_OBJECT

private slots:
    // Random rounds played to their end by random clicks on covered cells.
    void rulesHoldInRandomRounds()
    {
        constexpr int rounds = 300;
        ScriptedView view;
        SeededDraws draws(20261208);
        Duel duel(view, draws);
        std::mt19937 player(31337);
        view.typed = {QStringLiteral("30")};
        QVERIFY(duel.startDuel());

        for (int round = 0; round < rounds; ++round) {
            const int mines = 30 + round * 71 / rounds;
            if (round > 0) {
                view.answers = {true};
                view.typed = {QString::number(mines)};
                duel.askNewRound();
            }
            QCOMPARE(duel.bombesRestantes(), mines);
            view.log.clear();
            const int won1 = duel.partiesGagnees(1);
            const int won2 = duel.partiesGagnees(2);
            Cells clickedMines{};
            int found = 0;

            while (duel.roundInPlay()) {
                std::vector<int> covered;
                for (int cell = 0; cell < kCells; ++cell)
                    if (duel.board().isCovered(cell))
                        covered.push_back(cell);
                std::uniform_int_distribution<std::size_t> pick(0, covered.size() - 1);
                const int cell = covered[pick(player)];
                const int joueur = duel.joueur();
                const bool mine = duel.board().isMine(cell);
                const Cells before = uncoveredCells(duel.board());

                if (mine) {
                    clickedMines[static_cast<std::size_t>(cell)] = true;
                    ++found;
                }
                duel.cmdCase_Click(cell);

                const QString broken = brokenRule(duel, view, before, clickedMines, cell);
                QVERIFY2(broken.isEmpty(), qPrintable(broken));
                QCOMPARE(duel.score(1) + duel.score(2), found);
                const bool keeps = mine && duel.roundInPlay();
                QCOMPARE(duel.joueur(), keeps ? joueur : 3 - joueur);
            }

            QCOMPARE(found, mines);
            const int winner = duel.score(1) > duel.score(2)   ? 1
                               : duel.score(1) < duel.score(2) ? 2
                                                               : 0;
            const texts::Message verdict = winner ? texts::roundWonBy(winner) : texts::roundDrawn();
            QCOMPARE(
                view.logged(QStringLiteral("announce: ")),
                (QStringList{QStringLiteral("announce: %1: %2")
                                 .arg(texts::roundFinished().title, texts::roundFinished().text),
                             QStringLiteral("announce: %1: %2").arg(verdict.title, verdict.text)}));
            QCOMPARE(duel.partiesGagnees(1), won1 + (winner == 1 ? 1 : 0));
            QCOMPARE(duel.partiesGagnees(2), won2 + (winner == 2 ? 1 : 0));

            // Clicks once the round is over change nothing.
            const Cells after = uncoveredCells(duel.board());
            const int joueur = duel.joueur();
            view.log.clear();
            QStringList over; // said for covered cells only
            for (const int cell : {0, 112, 224}) {
                if (duel.board().isCovered(cell))
                    over << announced(texts::roundOver());
                duel.cmdCase_Click(cell);
            }
            QCOMPARE(view.log, over);
            QVERIFY(uncoveredCells(duel.board()) == after);
            QCOMPARE(duel.joueur(), joueur);
            QCOMPARE(duel.score(1) + duel.score(2), mines);
        }
    }
};

QTEST_APPLESS_MAIN(RandomPlayTest)
#include "test_randomplay.moc"
