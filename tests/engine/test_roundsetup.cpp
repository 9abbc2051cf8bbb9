// SPDX-License-Identifier: GPL-3.0-or-later
#include "counteddraws.h"
#include "engine/duel.h"
#include "engine/texts.h"
#include "scriptedview.h"
#include "seededdraws.h"
#include "stagedduel.h"

#include <QTest>
#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <stdexcept>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

// Also keeps the prompt of every input box, which the log leaves out.
class PromptView : public ScriptedView {
public:
    QStringList prompts;
    void ask(Duel& duel, const Question& question) override
    {
        if (question.kind == Question::Kind::Count)
            prompts << question.text;
        ScriptedView::ask(duel, question);
    }
};

// Gives the listed values in turn, over and over, for one round at most.
class ListedDraws : public RandomSource {
public:
    explicit ListedDraws(std::vector<double> values) : values_(std::move(values)) {}
    void reseed() override {}
    double next() override
    {
        if (next_ > 100000)
            throw std::logic_error("ListedDraws: the values no longer reach enough cells");
        return values_[next_++ % values_.size()];
    }

private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

// The picture a cell must show, counted from rows and columns.
int expectedPicture(const Board& board, int cell)
{
    if (board.isMine(cell))
        return pictureNumber(Picture::Mine);
    int mines = 0;
    for (int row = rowOf(cell) - 1; row <= rowOf(cell) + 1; ++row)
        for (int column = columnOf(cell) - 1; column <= columnOf(cell) + 1; ++column)
            if (row >= 0 && row < kRows && column >= 0 && column < kColumns &&
                board.isMine(indexOf(row, column)))
                ++mines;
    return mines == 0 ? pictureNumber(Picture::Blank) : mines;
}

bool everyCellShowsItsCount(const Board& board)
{
    for (int cell = 0; cell < kCells; ++cell)
        if (pictureNumber(board.picture(cell)) != expectedPicture(board, cell)) {
            qWarning("cell %d shows %d", cell, pictureNumber(board.picture(cell)));
            return false;
        }
    return true;
}

// Mines 1, 15 and 16 around corner 0, a ring of eight around 112, a block of nine
// centred on 52, and ten in the bottom row away from corner 210.
std::vector<int> cornerAndRings()
{
    return minesOf({
        ".*.............",
        "**.............",
        "......***......",
        "......***......",
        "......***......",
        "...............",
        "......***......",
        "......*.*......",
        "......***......",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        ".....**********",
    });
}

// A mine at the end of row 0, nothing around corner 0 or cell 15.
std::vector<int> endOfFirstRow()
{
    return minesOf({
        "..............*",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "***************",
        "***************",
    });
}

} // namespace

class RoundSetupTest : public QObject {
    Q_OBJECT

private slots:
    void startOfDuel()
    {
        PromptView view;
        SeededDraws draws(1);

        view.typed = {QStringLiteral("29"), QStringLiteral("abc"), QStringLiteral("45")};
        Duel duel(view, draws);
        QVERIFY(duel.startDuel());

        // Refused entries bring back the same empty box and nothing else.
        const QString ask = QStringLiteral("ask: ") + texts::mineCountTitle();
        const QStringList expected{
            QStringLiteral("turn: ") + texts::turnCaption(1),
            ask,
            ask,
            ask,
            QStringLiteral("status: ") + texts::minesLeftCaption(45),
            QStringLiteral("score1: ") + texts::scoreCaption(0),
            QStringLiteral("score2: ") + texts::scoreCaption(0),
        };
        QCOMPARE(view.log, expected);
        QCOMPARE(view.prompts, QStringList(3, texts::mineCountPrompt()));
        QCOMPARE(duel.joueur(), 1);
        QCOMPARE(duel.partiesGagnees(1), 0);
        QCOMPARE(duel.partiesGagnees(2), 0);
        QCOMPARE(duel.bombesRestantes(), 45);
        QCOMPARE(draws.reseeds, 1);
    }

    void placesTheTypedCount_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("mines");
        QTest::addColumn<QString>("status");
        QTest::newRow("fewest") << "30" << 30 << "30 bombes restantes";
        QTest::newRow("most") << "100" << 100 << "100 bombes restantes";
        QTest::newRow("leading zero") << "050" << 50 << "050 bombes restantes";
        QTest::newRow("blanks around") << " 45 " << 45 << "45 bombes restantes";
    }

    void placesTheTypedCount()
    {
        QFETCH(QString, typed);
        QFETCH(int, mines);
        QFETCH(QString, status);

        ScriptedView view;
        SeededDraws draws(7);
        view.typed = {typed};
        Duel duel(view, draws);
        QVERIFY(duel.startDuel());
        QCOMPARE(duel.board().mineCount(), mines);
        QCOMPARE(duel.bombesRestantes(), mines);
        QCOMPARE(view.status, status);
        QCOMPARE(duel.board().coveredCount(), kCells);
        QVERIFY(everyCellShowsItsCount(duel.board()));
    }

    void cancelling()
    {
        // Nothing to lose yet: cancelling the first count ends the duel.
        ScriptedView first;
        CountedDraws draws(twoBottomRows());
        first.typed = {std::nullopt};
        Duel fresh(first, draws);
        QVERIFY(!fresh.startDuel());
        QCOMPARE(first.logged(QStringLiteral("ask: ")).size(), 1);
        QVERIFY(first.logged(QStringLiteral("status: ")).isEmpty());
        QCOMPARE(fresh.board().mineCount(), 0);

        // Later on it asks whether to quit: "Non" brings the count back...
        StagedDuel staged(twoBottomRows());
        staged.click({195});
        staged.view.forget();
        staged.view.answers = {true, false, false};
        staged.view.typed = {std::nullopt, std::nullopt, QStringLiteral("030")};
        QVERIFY(staged.duel.askNewRound());
        const QString ask = QStringLiteral("ask: ") + texts::mineCountTitle();
        const QString quit = QStringLiteral("confirm: ") + texts::askQuit().title;
        QCOMPARE(staged.view.log.mid(0, 6),
                 QStringList({QStringLiteral("confirm: ") + texts::askNewRound().title, ask, quit,
                              ask, quit, ask}));
        QCOMPARE(staged.view.status, texts::minesLeftCaption(QStringLiteral("030")));
        QVERIFY(staged.duel.roundInPlay());

        // ... and "Oui" gives the duel's verdict, on rounds won, and ends the game.
        for (int cell = 195; cell < kCells; ++cell)
            staged.duel.cmdCase_Click(cell);
        QCOMPARE(staged.duel.partiesGagnees(1), 1);
        staged.view.forget();
        staged.view.answers = {true, true};
        staged.view.typed = {std::nullopt};
        QVERIFY(!staged.duel.askNewRound());
        const texts::Message verdict = texts::duelWonBy(1);
        QCOMPARE(
            staged.view.log,
            QStringList({QStringLiteral("confirm: ") + texts::askNewRound().title, ask, quit,
                         QStringLiteral("announce: %1: %2").arg(verdict.title, verdict.text)}));
    }

    void drawReachesBothEndsOfTheBoard()
    {
        std::vector<double> values{0.0, static_cast<double>(std::nextafter(1.0f, 0.0f)),
                                   std::nextafter(1.0, 0.0)};
        for (int cell = 100; cell < 128; ++cell)
            values.push_back((cell + 0.5) / kCells);
        ListedDraws draws(values);
        ScriptedView view;
        view.typed = {QStringLiteral("30")};
        Duel duel(view, draws);
        QVERIFY(duel.startDuel());
        QVERIFY(duel.board().isMine(0));
        QVERIFY(duel.board().isMine(224));
        QCOMPARE(duel.board().mineCount(), 30);
    }

    void drawTakesTheIntegerPartOfTheExactProduct()
    {
        // The double just below 1/225: its product rounds to 1.0, yet it is cell number 1.
        QCOMPARE(drawnCell(0.0044444444444444444), 0);
        // Around every boundary k/225, against the exact product worked out in integers:
        // r = m x 2^(e - 53), so r x 225 < k exactly when m x 225 < k x 2^(53 - e).
        const auto exactCell = [](double r) {
            int e = 0;
            const double fraction = std::frexp(r, &e);
            const auto m = static_cast<unsigned __int128>(std::ldexp(fraction, 53));
            int cell = 0;
            while (cell + 1 < kCells && m * 225 >= static_cast<unsigned __int128>(cell + 1)
                                                       << (53 - e))
                ++cell;
            return cell;
        };
        for (int k = 1; k < kCells; ++k) {
            const double near = k / 225.0;
            for (const double r : {std::nextafter(near, 0.0), near, std::nextafter(near, 1.0)})
                QCOMPARE(drawnCell(r), exactCell(r));
        }
        // A source that breaks its contract still lands on the board.
        for (const double wild : {std::nan(""), 1.0, 1e300, -0.5, -1e300})
            QVERIFY(drawnCell(wild) >= 0 && drawnCell(wild) < kCells);
        QCOMPARE(drawnCell(1.0), kCells - 1);
    }

    void takenCellsAreDrawnAgain()
    {
        std::vector<int> cells{5, 5, 6, 5, 6};
        for (int cell = 7; cell < 35; ++cell)
            cells.push_back(cell);
        CountedDraws draws(cells);
        ScriptedView view;
        view.typed = {QStringLiteral("30")};
        Duel duel(view, draws);
        QVERIFY(duel.startDuel());
        QCOMPARE(draws.draws, 33);
        for (int cell = 0; cell < kCells; ++cell)
            QCOMPARE(duel.board().isMine(cell), cell >= 5 && cell < 35);
    }

    void reseedsAtEveryRound()
    {
        StagedDuel staged(twoBottomRows());
        QCOMPARE(staged.draws.reseeds(), 1);
        staged.newRound();
        QCOMPARE(staged.draws.reseeds(), 2);
        staged.view.answers = {true, false};
        staged.view.typed = {QStringLiteral("29"), std::nullopt, QStringLiteral("30")};
        staged.duel.askNewRound();
        QCOMPARE(staged.draws.reseeds(), 3);
        staged.view.answers = {false};
        staged.duel.askNewRound();
        QCOMPARE(staged.draws.reseeds(), 3);
    }

    void numbering_data()
    {
        QTest::addColumn<std::vector<int>>("mines");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("picture");
        const int blank = pictureNumber(Picture::Blank);
        const int mine = pictureNumber(Picture::Mine);
        QTest::newRow("corner with its three neighbours mined") << cornerAndRings() << 0 << 3;
        QTest::newRow("corner with none") << endOfFirstRow() << 0 << blank;
        QTest::newRow("mine on 15 not counted for 14") << cornerAndRings() << 14 << blank;
        QTest::newRow("mine on 14 not counted for 15") << endOfFirstRow() << 15 << blank;
        QTest::newRow("inner cell ringed by eight") << cornerAndRings() << 112 << 8;
        QTest::newRow("mine ringed by eight") << cornerAndRings() << 52 << mine;
        QTest::newRow("bottom corner with none") << cornerAndRings() << 210 << blank;
    }

    void numbering()
    {
        QFETCH(std::vector<int>, mines);
        QFETCH(int, cell);
        QFETCH(int, picture);
        const StagedDuel staged(mines);
        QCOMPARE(pictureNumber(staged.duel.board().picture(cell)), picture);
        QVERIFY(everyCellShowsItsCount(staged.duel.board()));
    }

    void numberingOfRandomBoards()
    {
        ScriptedView view;
        SeededDraws draws(20261208);
        Duel duel(view, draws);
        for (int mines = 30; mines <= 100; mines += 5) {
            view.typed = {QString::number(mines)};
            QVERIFY(duel.nouvelleManche());
            QCOMPARE(duel.board().mineCount(), mines);
            QVERIFY(everyCellShowsItsCount(duel.board()));
        }
    }

    void newRoundAfterAFinishedRound()
    {
        StagedDuel staged(twoBottomRows());
        for (int cell = 195; cell < kCells; ++cell)
            staged.duel.cmdCase_Click(cell);
        QVERIFY(!staged.duel.roundInPlay());
        staged.view.forget();

        staged.newRound();
        QCOMPARE(staged.duel.board().coveredCount(), kCells);
        QCOMPARE(staged.duel.score(1), 0);
        QCOMPARE(staged.view.scores[0], texts::scoreCaption(0));
        QCOMPARE(staged.view.scores[1], texts::scoreCaption(0));
        QCOMPARE(staged.duel.joueur(), 2);
        QCOMPARE(staged.duel.partiesGagnees(1), 1);
        QCOMPARE(staged.view.roundsWon[0], texts::roundsWonCaption(1));
        QVERIFY(staged.view.logged(QStringLiteral("won")).isEmpty());
        QVERIFY(staged.view.logged(QStringLiteral("turn: ")).isEmpty());
        QVERIFY(staged.duel.roundInPlay());
    }

    // Over many rounds every cell must be mined about equally often: a draw that misses the
    // last cell, or favours the first, shows up here.
    void minesSpreadEvenly()
    {
        constexpr int rounds = 4000;
        constexpr int mines = 30;
        ScriptedView view;
        SeededDraws draws(12345);
        Duel duel(view, draws);
        std::array<int, kCells> hits{};
        for (int round = 0; round < rounds; ++round) {
            view.typed = {QString::number(mines)};
            QVERIFY(duel.nouvelleManche());
            for (int cell = 0; cell < kCells; ++cell)
                hits[static_cast<std::size_t>(cell)] += duel.board().isMine(cell) ? 1 : 0;
        }
        QCOMPARE(draws.reseeds, rounds);

        const double p = double(mines) / kCells;
        const double expected = rounds * p;
        const double spread = std::sqrt(rounds * p * (1 - p));
        double chiSquare = 0;
        for (int cell = 0; cell < kCells; ++cell) {
            const double deviation = hits[static_cast<std::size_t>(cell)] - expected;
            chiSquare += deviation * deviation / expected;
            QVERIFY2(std::abs(deviation) < 6 * spread,
                     qPrintable(QStringLiteral("cell %1 mined %2 times, expected about %3")
                                    .arg(cell)
                                    .arg(hits[static_cast<std::size_t>(cell)])
                                    .arg(expected)));
        }
        // 224 degrees of freedom: 352 is exceeded by chance about once in ten million.
        QVERIFY2(chiSquare < 352, qPrintable(QString::number(chiSquare)));
    }

    void systemRandomStaysInRange()
    {
        SystemRandom random;
        random.reseed();
        std::vector<double> first;
        for (int i = 0; i < 100000; ++i) {
            const double r = random.next();
            QVERIFY(r >= 0 && r < 1);
            QCOMPARE(static_cast<double>(static_cast<float>(r)), r);
            if (i < 8)
                first.push_back(r);
        }
        random.reseed();
        std::vector<double> again;
        for (int i = 0; i < 8; ++i)
            again.push_back(random.next());
        QVERIFY(first != again);
    }

    // Two duels that set up their rounds in the same instant, where a clock would read the
    // same tick, still hide different mines.
    void sameInstantGivesDifferentLayouts()
    {
        std::array<SystemRandom, 2> sources;
        std::set<std::vector<int>> layouts;
        for (SystemRandom& random : sources) {
            ScriptedView view;
            view.typed = {QStringLiteral("30")};
            Duel duel(view, random);
            QVERIFY(duel.nouvelleManche());
            std::vector<int> mines;
            for (int cell = 0; cell < kCells; ++cell) {
                if (duel.board().isMine(cell))
                    mines.push_back(cell);
            }
            layouts.insert(mines);
        }
        QCOMPARE(layouts.size(), std::size_t{2});
    }

    // The other side of a duel sees the numbers around each opened cell; with few enough
    // seeds it could try them all and read the whole layout. Among 300,000 rounds a 32-bit
    // seed repeats about ten times (birthday bound).
    void reseedsNeverRepeat()
    {
        constexpr int reseeds = 300'000;
        SystemRandom random;
        std::set<std::array<double, 3>> starts;
        for (int i = 0; i < reseeds; ++i) {
            random.reseed();
            // The first 72 bits the draw uses: seeds repeat long before these collide by chance.
            const std::array<double, 3> start{random.next(), random.next(), random.next()};
            QVERIFY2(
                starts.insert(start).second,
                qPrintable(QStringLiteral("the same draw came again after %1 reseeds").arg(i)));
        }
    }
};

QTEST_APPLESS_MAIN(RoundSetupTest)
#include "test_roundsetup.moc"
