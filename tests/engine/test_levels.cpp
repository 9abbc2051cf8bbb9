// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/computerlevel.h"
#include "engine/solver.h"
#include "pictureboard.h"

#include <QSet>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

// The whole board covered, as a round begins.
VisibleBoard opening(int mines)
{
    Board board;
    for (int index = 0; index < kCells; ++index)
        board.cover(index);
    return VisibleBoard(board, mines);
}

int coveredAround(const VisibleBoard& seen, int index)
{
    int covered = 0;
    for (const int n : neighbours(index))
        covered += seen.isCovered(n) ? 1 : 0;
    return covered;
}

} // namespace

class LevelsTest : public QObject {
    Q_OBJECT

private slots:
    void namesRoundTrip()
    {
        QCOMPARE(levelNames(), QStringLiteral("facile, moyen ou difficile"));
        for (const Level level : kLevels)
            QCOMPARE(levelFromName(levelName(level)), level);
        QCOMPARE(levelFromName(QStringLiteral("expert")), std::nullopt);
        QCOMPARE(levelFromName(QString()), std::nullopt);
        QCOMPARE(kFirstLevel, Level::Moyen);
    }

    // Facile takes what one number proves; with nothing proven it clicks anywhere covered,
    // not always the same cell.
    void facileClicksAtRandomUnlessOneNumberProves()
    {
        const VisibleBoard proven = pictureSeen({".*#", "**#", "###"});
        const VisibleBoard nothing = pictureSeen({"##*#####*", "#.....#.#", "##*###*##"});
        QSet<int> chosen;
        for (unsigned seed = 1; seed <= 40; ++seed) {
            ComputerLevel facile(Level::Facile, seed);
            const int first = facile.chooseCell(proven);
            QVERIFY2(first == 1 || first == 15 || first == 16, qPrintable(QString::number(first)));
            const int cell = facile.chooseCell(nothing);
            QVERIFY(nothing.isCovered(cell));
            chosen << cell;
        }
        QVERIFY2(chosen.size() >= 5, qPrintable(QString::number(chosen.size())));
    }

    // Moyen is bestCell on the exact odds.
    void moyenClicksTheLikeliestCell()
    {
        for (const VisibleBoard& seen : {opening(30), pictureSeen({"#*#*#", "*#.*.", "....."}),
                                         pictureSeen({"##*#####*", "#.....#.#", "##*###*##"})}) {
            ComputerLevel moyen(Level::Moyen, 1);
            QCOMPARE(moyen.chooseCell(seen), bestCell(seen, mineOdds(seen)));
            QVERIFY(moyen.lastExact());
        }
        ComputerLevel moyen(Level::Moyen, 1);
        QCOMPARE(moyen.chooseCell(opening(30)), 0); // a corner: the fewest covered neighbours
    }

    // Difficile takes a certain mine first, whatever its seed.
    void difficileTakesCertainMinesFirst()
    {
        const VisibleBoard seen = pictureSeen({"#*#*#", "*#.*.", "....."});
        const MineOdds odds = mineOdds(seen);
        for (unsigned seed = 1; seed <= 10; ++seed) {
            ComputerLevel difficile(Level::Difficile, seed);
            const int cell = difficile.chooseCell(seen);
            QCOMPARE(odds.mine[std::size_t(cell)], 1.0);
        }
    }

    // On a board still all covered, a cell next to the edge is likelier to be blank and open
    // an area for the opponent: difficile starts inside, where moyen starts in a corner.
    void difficileOpensNoAreaFirst()
    {
        for (const int mines : {30, 65})
            for (unsigned seed = 1; seed <= 5; ++seed) {
                const VisibleBoard seen = opening(mines);
                ComputerLevel difficile(Level::Difficile, seed);
                const int cell = difficile.chooseCell(seen);
                QCOMPARE(coveredAround(seen, cell), 8);
            }
    }

    // Two boards that show the same thing and hide different things: the same choice.
    void difficileSeesOnlyWhatAPlayerSees()
    {
        const Board first = pictureBoard({"#*##*##*#", "#.......#", "##*###*##", "#########"});
        Board second = first;
        for (int index = 0; index < kCells; ++index)
            if (first.isCovered(index))
                second.showPicture(index, index % 3 ? Picture::Mine : countPicture(2));
        for (unsigned seed = 1; seed <= 3; ++seed) {
            ComputerLevel a(Level::Difficile, seed);
            ComputerLevel b(Level::Difficile, seed);
            QCOMPARE(a.chooseCell(VisibleBoard(first, 5)), b.chooseCell(VisibleBoard(second, 5)));
        }
    }
};

QTEST_APPLESS_MAIN(LevelsTest)
#include "test_levels.moc"
