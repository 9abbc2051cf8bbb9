// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/board.h"

#include <QTest>
#include <utility>
#include <vector>

using namespace volcanelle;

namespace {

// Keeps every change the board reports, in order.
class ChangeLog : public BoardObserver {
public:
    std::vector<std::pair<int, bool>> covers;
    std::vector<std::pair<int, Picture>> pictures;

    void coverChanged(int index, bool covered) override { covers.emplace_back(index, covered); }
    void pictureChanged(int index, Picture picture) override
    {
        pictures.emplace_back(index, picture);
    }
};

} // namespace

class BoardTest : public QObject {
    Q_OBJECT

private slots:
    void startsCoveredWithNoContent()
    {
        const Board board;
        QCOMPARE(board.coveredCount(), kCells);
        QCOMPARE(board.mineCount(), 0);
        for (int cell = 0; cell < kCells; ++cell) {
            QCOMPARE(board.picture(cell), Picture::None);
            QVERIFY(!board.isMine(cell) && !board.isBlank(cell));
        }
    }

    void contentIsTheLastPictureShown()
    {
        Board board;
        board.showPicture(40, Picture::Mine);
        QVERIFY(board.isMine(40));
        board.showPicture(40, countPicture(3));
        QVERIFY(!board.isMine(40));
        QVERIFY(!board.isBlank(40));
        QCOMPARE(pictureNumber(board.picture(40)), 3);

        board.showPicture(41, Picture::Blank);
        board.showPicture(41, Picture::Mine);
        QVERIFY(board.isMine(41));
        QVERIFY(!board.isBlank(41));
        QCOMPARE(board.mineCount(), 1);
    }

    void coversComeOffAndBackOn()
    {
        Board board;
        board.uncover(0);
        board.uncover(224);
        QVERIFY(!board.isCovered(0) && !board.isCovered(224));
        QVERIFY(board.isCovered(1));
        QCOMPARE(board.coveredCount(), kCells - 2);
        board.cover(224);
        QVERIFY(board.isCovered(224));
        QCOMPARE(board.coveredCount(), kCells - 1);
    }

    // The window redraws on every notice, so a notice must mean a change.
    void observerHearsOnlyRealChanges()
    {
        ChangeLog changes;
        Board board(&changes);

        board.cover(5);
        board.uncover(5);
        board.uncover(5);
        board.cover(5);
        board.cover(5);
        const std::vector<std::pair<int, bool>> covers{{5, false}, {5, true}};
        QCOMPARE(changes.covers, covers);

        board.showPicture(7, Picture::Blank);
        board.showPicture(7, Picture::Blank);
        board.showPicture(7, Picture::Mine);
        board.showPicture(7, Picture::Mine);
        const std::vector<std::pair<int, Picture>> pictures{{7, Picture::Blank},
                                                            {7, Picture::Mine}};
        QCOMPARE(changes.pictures, pictures);
    }
};

QTEST_APPLESS_MAIN(BoardTest)
#include "test_board.moc"
