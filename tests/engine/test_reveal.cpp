// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/texts.h"
#include "stagedduel.h"

#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

class RevealTest : public QObject {
    Q_OBJECT

private slots:
    // Pictures are staged by hand: every cell is numbered but `start` and the listed
    // `blanks`; the cells in `open` are uncovered before the click on `start`. Only the
    // order of the lifted covers is checked, and that nothing else was lifted.
    void visitingOrder_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("blanks");
        QTest::addColumn<QList<int>>("open");
        QTest::addColumn<QList<int>>("order");

        QTest::newRow("corner 0") << 0 << QList<int>{} << QList<int>{} << QList<int>{0, 1, 15, 16};
        QTest::newRow("corner 14")
            << 14 << QList<int>{} << QList<int>{} << QList<int>{14, 13, 29, 28};
        QTest::newRow("corner 210")
            << 210 << QList<int>{} << QList<int>{} << QList<int>{210, 211, 195, 196};
        QTest::newRow("corner 224")
            << 224 << QList<int>{} << QList<int>{} << QList<int>{224, 223, 209, 208};
        QTest::newRow("left edge 15")
            << 15 << QList<int>{} << QList<int>{} << QList<int>{15, 16, 0, 30, 1, 31};
        QTest::newRow("right edge 29")
            << 29 << QList<int>{} << QList<int>{} << QList<int>{29, 28, 14, 44, 13, 43};
        QTest::newRow("inner 112") << 112 << QList<int>{} << QList<int>{}
                                   << QList<int>{112, 113, 111, 97, 127, 96, 98, 128, 126};
        // 1 is entered as soon as it is found: its neighbours come before 0's next ones.
        QTest::newRow("depth first")
            << 0 << QList<int>{1} << QList<int>{} << QList<int>{0, 1, 2, 16, 17, 15};
        // 113 is blank but already open: not entered, so 114, 99 and 129 stay covered.
        QTest::newRow("open blank skipped") << 112 << QList<int>{113} << QList<int>{113}
                                            << QList<int>{112, 111, 97, 127, 96, 98, 128, 126};
        // 114 is blank but lies behind the numbered 113.
        QTest::newRow("numbered cell stops")
            << 112 << QList<int>{114} << QList<int>{}
            << QList<int>{112, 113, 111, 97, 127, 96, 98, 128, 126};
    }

    void visitingOrder()
    {
        QFETCH(int, start);
        QFETCH(QList<int>, blanks);
        QFETCH(QList<int>, open);
        QFETCH(QList<int>, order);

        StagedDuel staged(twoBottomRows());
        Board& board = staged.duel.board();
        for (int cell = 0; cell < kCells; ++cell)
            board.showPicture(cell, countPicture(1));
        for (const int cell : blanks + QList<int>{start})
            board.showPicture(cell, Picture::Blank);
        for (const int cell : open)
            board.uncover(cell);
        staged.view.forget();

        staged.duel.cmdCase_Click(start);
        QCOMPARE(QList<int>(staged.view.uncovered.begin(), staged.view.uncovered.end()), order);
        QCOMPARE(board.coveredCount(), kCells - open.size() - order.size());
    }

    void blankAreaOpensAfterTheTurnPasses()
    {
        StagedDuel staged(twoBottomRows());
        staged.duel.cmdCase_Click(0);

        // Cells 0 to 194 and nothing else.
        const std::vector<int>& uncovered = staged.view.uncovered;
        QCOMPARE(uncovered.size(), std::size_t{195});
        for (int cell = 0; cell < kCells; ++cell)
            QCOMPARE(staged.duel.board().isCovered(cell), cell >= 195);
        QCOMPARE(pictureNumber(staged.duel.board().picture(180)), 2);
        QCOMPARE(pictureNumber(staged.duel.board().picture(194)), 2);
        for (int cell = 181; cell < 194; ++cell)
            QCOMPARE(pictureNumber(staged.duel.board().picture(cell)), 3);

        // The clicked cover goes first, then the turn passes, and the reveal says nothing.
        const QStringList turn{QStringLiteral("turn: ") + texts::turnCaption(2)};
        QCOMPARE(staged.view.log, turn);
        QCOMPARE(staged.view.logLengthAtUncover.front(), 0);
        QCOMPARE(staged.view.logLengthAtUncover.back(), 1);
        QCOMPARE(staged.duel.joueur(), 2);
        QCOMPARE(staged.duel.score(1), 0);
        QCOMPARE(staged.duel.score(2), 0);
        QCOMPARE(staged.duel.bombesRestantes(), 30);
        QCOMPARE(staged.view.status, texts::minesLeftCaption(30));
    }
};

QTEST_APPLESS_MAIN(RevealTest)
#include "test_reveal.moc"
