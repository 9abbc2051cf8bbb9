// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/solver.h"

#include <QElapsedTimer>
#include <QTest>
#include <bit>
#include <cstdint>
#include <random>
#include <vector>

using namespace volcanelle;

namespace {

// A board with mines at `mines`, numbered as a round numbers it, and every cell uncovered
// except `covered`.
Board boardWith(const std::vector<bool>& mine, const std::vector<bool>& covered)
{
    Board board;
    for (int index = 0; index < kCells; ++index) {
        int around = 0;
        for (const int n : neighbours(index))
            around += mine[std::size_t(n)] ? 1 : 0;
        board.showPicture(index, mine[std::size_t(index)] ? Picture::Mine
                                 : around                 ? countPicture(around)
                                                          : Picture::Blank);
        if (!covered[std::size_t(index)])
            board.uncover(index);
    }
    return board;
}

// Every way of hiding `minesLeft` mines under the covered cells that agrees with every
// number shown, counted one by one: the odds of each covered cell, or nothing when none fits.
std::vector<double> bruteForce(const VisibleBoard& seen, const std::vector<int>& covered)
{
    std::vector<std::pair<std::uint64_t, int>> numbers; // covered neighbours, mines they hide
    for (int index = 0; index < kCells; ++index) {
        const int shown = seen.seen(index);
        if (shown < 0 || shown == VisibleBoard::kFoundMine)
            continue;
        std::uint64_t mask = 0;
        int need = shown;
        for (const int n : neighbours(index)) {
            const auto at = std::find(covered.begin(), covered.end(), n);
            if (at != covered.end())
                mask |= std::uint64_t{1} << (at - covered.begin());
            else if (seen.seen(n) == VisibleBoard::kFoundMine)
                --need;
        }
        numbers.emplace_back(mask, need);
    }
    const int n = int(covered.size());
    std::vector<double> hits(std::size_t(n), 0.0);
    double fits = 0;
    for (std::uint64_t layout = 0; layout < (std::uint64_t{1} << n); ++layout) {
        if (std::popcount(layout) != seen.minesLeft())
            continue;
        bool ok = true;
        for (const auto& [mask, need] : numbers)
            ok = ok && std::popcount(layout & mask) == need;
        if (!ok)
            continue;
        ++fits;
        for (int i = 0; i < n; ++i)
            hits[std::size_t(i)] += (layout >> i) & 1;
    }
    if (fits == 0)
        return {};
    for (double& h : hits)
        h /= fits;
    return hits;
}

} // namespace

class SolverTest : public QObject {
    Q_OBJECT

private slots:
    // Random boards of 30 to 100 mines with a patch of about twenty covered cells (grown
    // from one cell, so that numbers link them) and a few stray ones.
    void oddsMatchEveryArrangementCounted()
    {
        std::mt19937 random(20261208);
        for (int trial = 0; trial < 60; ++trial) {
            std::vector<bool> mine(kCells, false);
            const int mines = std::uniform_int_distribution<int>(30, 100)(random);
            for (int placed = 0; placed < mines;) {
                const int cell = std::uniform_int_distribution<int>(0, kCells - 1)(random);
                placed += mine[std::size_t(cell)] ? 0 : 1;
                mine[std::size_t(cell)] = true;
            }
            std::vector<bool> cover(kCells, false);
            std::vector<int> covered{std::uniform_int_distribution<int>(0, kCells - 1)(random)};
            cover[std::size_t(covered[0])] = true;
            const int size = std::uniform_int_distribution<int>(12, 20)(random);
            while (int(covered.size()) < size) {
                const int from = covered[random() % covered.size()];
                const Neighbours around = neighbours(from);
                const int next = *(around.begin() + random() % std::size_t(around.size()));
                if (!cover[std::size_t(next)]) {
                    cover[std::size_t(next)] = true;
                    covered.push_back(next);
                }
            }
            for (int stray = 0; stray < 4; ++stray) {
                const int cell = std::uniform_int_distribution<int>(0, kCells - 1)(random);
                if (!cover[std::size_t(cell)]) {
                    cover[std::size_t(cell)] = true;
                    covered.push_back(cell);
                }
            }
            int hidden = 0;
            for (const int cell : covered)
                hidden += mine[std::size_t(cell)] ? 1 : 0;

            const VisibleBoard seen(boardWith(mine, cover), hidden);
            const std::vector<double> expected = bruteForce(seen, covered);
            const MineOdds odds = mineOdds(seen);
            QVERIFY(odds.exact);
            QVERIFY(odds.consistent);
            QCOMPARE(expected.size(), covered.size());
            for (std::size_t i = 0; i < covered.size(); ++i) {
                const double got = odds.mine[std::size_t(covered[i])];
                QVERIFY2(std::abs(got - expected[i]) < 1e-9,
                         qPrintable(QStringLiteral("trial %1 cell %2: %3 instead of %4")
                                        .arg(trial)
                                        .arg(covered[i])
                                        .arg(got)
                                        .arg(expected[i])));
            }
            for (int index = 0; index < kCells; ++index)
                if (!cover[std::size_t(index)])
                    QCOMPARE(odds.mine[std::size_t(index)], 0.0);
        }
    }

    // Two boards that show the same thing and hide different things under their covers.
    void whatLiesUnderCoversChangesNothing()
    {
        std::vector<bool> mine(kCells, false), cover(kCells, false);
        for (int index = 0; index < 60; ++index)
            cover[std::size_t(index)] = true;
        for (const int index : {3, 20, 33, 41, 57, 80, 81, 95})
            mine[std::size_t(index)] = true;
        const Board first = boardWith(mine, cover);
        Board second = first;
        // Move every hidden mine elsewhere under the covers, and draw nonsense pictures there.
        for (int index = 0; index < 60; ++index)
            second.showPicture(index, index % 3 ? Picture::Mine : countPicture(1 + index % 8));

        const MineOdds a = mineOdds(VisibleBoard(first, 6));
        const MineOdds b = mineOdds(VisibleBoard(second, 6));
        QCOMPARE(a.mine, b.mine);
        QCOMPARE(bestCell(VisibleBoard(first, 6), a), bestCell(VisibleBoard(second, 6), b));
    }

    // Numbers strewn on every other cell each way link almost the whole board into one
    // group. Counted, it is exact; with no budget to count it, the answer says it is
    // estimated, stays a set of odds, and stays near the count.
    void tooLargeToCountIsEstimated()
    {
        std::mt19937 random(7);
        std::vector<bool> mine(kCells, false), cover(kCells, true);
        for (int placed = 0; placed < 60;) {
            const int cell = std::uniform_int_distribution<int>(0, kCells - 1)(random);
            if (rowOf(cell) % 2 == 1 && columnOf(cell) % 2 == 1)
                continue;
            placed += mine[std::size_t(cell)] ? 0 : 1;
            mine[std::size_t(cell)] = true;
        }
        for (int index = 0; index < kCells; ++index)
            if (rowOf(index) % 2 == 1 && columnOf(index) % 2 == 1)
                cover[std::size_t(index)] = false;

        const VisibleBoard seen(boardWith(mine, cover), 60);
        const MineOdds counted = mineOdds(seen);
        QVERIFY(counted.exact);
        QElapsedTimer clock;
        clock.start();
        const MineOdds odds = Arrangements(seen, 0).odds();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!odds.exact);
        QVERIFY(odds.consistent);
        double expected = 0, off = 0;
        for (int index = 0; index < kCells; ++index) {
            const double p = odds.mine[std::size_t(index)];
            QVERIFY(p >= 0.0 && p < 1.0);
            expected += p;
            off += std::abs(p - counted.mine[std::size_t(index)]);
        }
        QVERIFY2(std::abs(expected - 60) < 6, qPrintable(QString::number(expected)));
        QVERIFY2(off / seen.coveredCount() < 0.07, qPrintable(QString::number(off)));
        QVERIFY(seen.isCovered(bestCell(seen, odds)));
    }

    // Layouts drawn from a position: each fits every number and the count, and each cell
    // holds a mine about as often as its odds say (4000 draws: within 0.035, over four
    // standard deviations).
    void drawnLayoutsFollowTheOdds()
    {
        std::mt19937 random(11);
        std::vector<bool> mine(kCells, false), cover(kCells, false);
        // Rows 0 to 2 covered, a few cells of row 3 too; mines among them.
        for (int index = 0; index < 48; ++index)
            cover[std::size_t(index)] = index < 45 || index == 47;
        for (const int index : {1, 5, 6, 17, 22, 23, 31, 38, 40, 47})
            mine[std::size_t(index)] = true;
        const VisibleBoard seen(boardWith(mine, cover), 10);
        const Arrangements arrangements(seen);
        QVERIFY(arrangements.odds().exact);
        constexpr int kDraws = 4000;
        std::vector<int> hits(kCells, 0);
        for (int draw = 0; draw < kDraws; ++draw) {
            const CellSet layout = arrangements.draw(random);
            QCOMPARE(layout.size(), 10);
            for (int index = 0; index < kCells; ++index) {
                if (layout.contains(index)) {
                    QVERIFY(seen.isCovered(index));
                    ++hits[std::size_t(index)];
                }
                const int shown = seen.seen(index);
                if (shown < 0 || shown == VisibleBoard::kFoundMine)
                    continue;
                int around = 0;
                for (const int n : neighbours(index))
                    around += layout.contains(n) ? 1 : 0;
                QCOMPARE(around, shown);
            }
        }
        for (int index = 0; index < kCells; ++index) {
            const double share = double(hits[std::size_t(index)]) / kDraws;
            QVERIFY2(std::abs(share - arrangements.odds().mine[std::size_t(index)]) < 0.035,
                     qPrintable(QStringLiteral("cell %1: %2").arg(index).arg(share)));
        }
    }

    // Certain mines come first; a position that no round can give is answered, not trusted.
    void choosesCertainMinesAndSurvivesNonsense()
    {
        std::vector<bool> mine(kCells, false), cover(kCells, false);
        // Row 0: cells 0 to 4 covered, one mine at 2, so the "1"s at 16 and 18... pin it.
        for (int index = 0; index < 5; ++index)
            cover[std::size_t(index)] = true;
        mine[2] = true;
        mine[200] = true; // found already: shown as a mine
        const Board board = boardWith(mine, cover);
        const VisibleBoard seen(board, 1);
        const MineOdds odds = mineOdds(seen);
        QCOMPARE(odds.mine[2], 1.0);
        QCOMPARE(bestCell(seen, odds), 2);

        // More mines left than covered cells, then a number that asks too much.
        QVERIFY(!mineOdds(VisibleBoard(board, 9)).consistent);
        Board wrong = board;
        wrong.showPicture(17, countPicture(8));
        const MineOdds nonsense = mineOdds(VisibleBoard(wrong, 1));
        QVERIFY(!nonsense.consistent);
        QCOMPARE(nonsense.mine[0], 0.2);
        QCOMPARE(bestCell(VisibleBoard(wrong, 1), nonsense), 0);
    }
};

QTEST_APPLESS_MAIN(SolverTest)
#include "test_solver.moc"
