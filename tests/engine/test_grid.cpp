// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/grid.h"

#include <QList>
#include <QTest>
#include <algorithm>
#include <cstdlib>

using namespace volcanelle;

namespace {

QList<int> listOf(const Neighbours& cells)
{
    return QList<int>(cells.begin(), cells.end());
}

// Rank of the direction from `from` to the touching cell `to`, in the order right, left, up,
// down, up-left, up-right, down-right, down-left.
int directionRank(int from, int to)
{
    const int rows = rowOf(to) - rowOf(from);
    const int columns = columnOf(to) - columnOf(from);
    static const int ranks[3][3] = {{5, 3, 6}, {2, -1, 1}, {8, 4, 7}};
    return ranks[rows + 1][columns + 1];
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void neighboursInOrder_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("top-left corner") << 0 << QList<int>{1, 15, 16};
        QTest::newRow("top-right corner") << 14 << QList<int>{13, 29, 28};
        QTest::newRow("bottom-left corner") << 210 << QList<int>{211, 195, 196};
        QTest::newRow("bottom-right corner") << 224 << QList<int>{223, 209, 208};
        QTest::newRow("top edge") << 7 << QList<int>{8, 6, 22, 23, 21};
        QTest::newRow("left edge") << 15 << QList<int>{16, 0, 30, 1, 31};
        QTest::newRow("right edge") << 29 << QList<int>{28, 14, 44, 13, 43};
        QTest::newRow("inner") << 112 << QList<int>{113, 111, 97, 127, 96, 98, 128, 126};
    }

    void neighboursInOrder()
    {
        QFETCH(int, cell);
        QFETCH(QList<int>, expected);
        QCOMPARE(listOf(neighbours(cell)), expected);
    }

    // Cells next to each other in index order but on different rows, or at both ends of a row.
    void noWrapAround_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("end of row 0, start of row 1") << 14 << 15;
        QTest::newRow("end of row 1, start of row 2") << 29 << 30;
        QTest::newRow("both ends of row 1") << 15 << 29;
        QTest::newRow("top and bottom rows") << 7 << 217;
        QTest::newRow("diagonal across the row end") << 14 << 30;
    }

    void noWrapAround()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QVERIFY(!listOf(neighbours(a)).contains(b));
        QVERIFY(!listOf(neighbours(b)).contains(a));
    }

    // The whole table against the definition: the cells one row and/or one column away, each
    // once, in the fixed direction order.
    void everyCellMatchesRowsAndColumns()
    {
        for (int cell = 0; cell < kCells; ++cell) {
            QCOMPARE(indexOf(rowOf(cell), columnOf(cell)), cell);
            QList<int> touching;
            for (int other = 0; other < kCells; ++other) {
                const int rows = std::abs(rowOf(other) - rowOf(cell));
                const int columns = std::abs(columnOf(other) - columnOf(cell));
                if (other != cell && rows <= 1 && columns <= 1)
                    touching << other;
            }
            const QList<int> found = listOf(neighbours(cell));
            QList<int> sorted = found;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(sorted, touching);
            for (int i = 1; i < found.size(); ++i)
                QVERIFY2(directionRank(cell, found[i - 1]) < directionRank(cell, found[i]),
                         qPrintable(QStringLiteral("cell %1").arg(cell)));
        }
    }

    void boardBounds()
    {
        QVERIFY(isCell(0));
        QVERIFY(isCell(224));
        QVERIFY(!isCell(-1));
        QVERIFY(!isCell(225));
    }
};

QTEST_APPLESS_MAIN(GridTest)
#include "test_grid.moc"
