// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/deduction.h"
#include "pictureboard.h"

#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QString knownRow(const Deduction& proofs, int row, int columns)
{
    QString out;
    for (int column = 0; column < columns; ++column) {
        const Deduction::Known known = proofs.at(indexOf(row, column));
        out += known == Deduction::Known::Mine   ? QLatin1Char('M')
               : known == Deduction::Known::Free ? QLatin1Char('f')
                                                 : QLatin1Char('?');
    }
    return out;
}

} // namespace

class DeductionTest : public QObject {
    Q_OBJECT

private slots:
    // (2,3) pins (1,3); the pair (2,2)-(2,3) then frees (1,1); only by building on that
    // proof does (2,1), left with one cell, pin (1,0). The 0 at (0,5) frees (0,4), and with it
    // (1,4) pins (0,3). Row 0 keeps one mine between (0,1) and (0,2).
    void pairsAndWhatFollows()
    {
        const VisibleBoard seen = pictureSeen({"#*#*#", "*#.*.", "....."});
        const Deduction once(seen, false);
        QCOMPARE(knownRow(once, 0, 5), QStringLiteral("???Mf"));
        QCOMPARE(knownRow(once, 1, 5), QStringLiteral("?ffMf"));
        QCOMPARE(once.provenMines(), 2);
        const Deduction chained(seen);
        QCOMPARE(knownRow(chained, 0, 5), QStringLiteral("???Mf"));
        QCOMPARE(knownRow(chained, 1, 5), QStringLiteral("MffMf"));
        QCOMPARE(chained.provenMines(), 3);
        QVERIFY(chained.consistent());
    }

    // A number alone: the 3 in the corner sees three covered cells; the 0s free theirs.
    void singleNumbers()
    {
        const Deduction proofs(pictureSeen({".*#", "**#", "###"}));
        QCOMPARE(knownRow(proofs, 0, 3), QStringLiteral("fMf"));
        QCOMPARE(knownRow(proofs, 1, 3), QStringLiteral("MMf"));
        QCOMPARE(knownRow(proofs, 2, 3), QStringLiteral("fff"));
        QCOMPARE(proofs.provenMines(), 3);
    }

    // Suppositions reason on, and undo puts back exactly what was there, nested or not.
    void supposeAndUndo()
    {
        Deduction proofs(pictureSeen({"#*#*#", "*#.*.", "....."}));
        const auto snapshot = [&proofs] {
            QString out;
            for (int index = 0; index < kCells; ++index)
                out += QString::number(int(proofs.at(index)));
            for (const Deduction::Rule& rule : proofs.rules())
                out += QStringLiteral("|%1:%2").arg(rule.need).arg(rule.cells.size());
            return out + QStringLiteral("/%1").arg(proofs.provenMines());
        };
        const QString before = snapshot();
        // (0,0) showing 2: (1,0) is one, so (0,1) is the other, and (0,2) is free.
        proofs.mark();
        proofs.supposeNumber(indexOf(0, 0), 2);
        QCOMPARE(knownRow(proofs, 0, 5), QStringLiteral("fMfMf"));
        QCOMPARE(proofs.provenMines(), 4);
        proofs.mark();
        proofs.supposeMine(indexOf(0, 2));
        QVERIFY(!proofs.consistent());
        proofs.undo();
        QVERIFY(proofs.consistent());
        QCOMPARE(knownRow(proofs, 0, 5), QStringLiteral("fMfMf"));
        proofs.undo();
        QCOMPARE(snapshot(), before);

        proofs.mark();
        proofs.supposeNumber(indexOf(0, 0), 1);
        QCOMPARE(knownRow(proofs, 0, 5), QStringLiteral("ffMMf"));
        proofs.undo();
        proofs.mark();
        proofs.supposeMine(indexOf(0, 1));
        QCOMPARE(knownRow(proofs, 0, 5), QStringLiteral("?MfMf"));
        proofs.undo();
        QCOMPARE(snapshot(), before);
    }

    void contradictionsAreFound()
    {
        Board board = pictureBoard({"#*#"});
        board.showPicture(indexOf(1, 0), countPicture(3)); // sees two covered cells only
        QVERIFY(!Deduction(VisibleBoard(board, 1)).consistent());
        board.showPicture(indexOf(1, 0), countPicture(1));
        // A 3 over three cells, two of which the 1 beside it allows only one mine.
        board.showPicture(indexOf(1, 1), countPicture(3));
        QVERIFY(!Deduction(VisibleBoard(board, 1)).consistent());
    }
};

QTEST_APPLESS_MAIN(DeductionTest)
#include "test_deduction.moc"
