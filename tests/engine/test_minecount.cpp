// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/minecount.h"

#include <QTest>

using namespace volcanelle;

class MineCountTest : public QObject {
    Q_OBJECT

private slots:
    // What the players may type in the mine-count box; -1 marks a refused entry.
    void readsOnlyWholeNumbersInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("mines");
        QTest::addColumn<QString>("shown");

        QTest::newRow("fewest") << "30" << 30 << "30";
        QTest::newRow("most") << "100" << 100 << "100";
        QTest::newRow("leading zero kept as typed") << "050" << 50 << "050";
        QTest::newRow("blanks around dropped") << " 45 " << 45 << "45";
        QTest::newRow("many leading zeros")
            << "0000000000000000000030" << 30 << "0000000000000000000030";

        const QString refused;
        QTest::newRow("one too few") << "29" << -1 << refused;
        QTest::newRow("one too many") << "101" << -1 << refused;
        QTest::newRow("zero") << "0" << -1 << refused;
        QTest::newRow("empty") << "" << -1 << refused;
        QTest::newRow("blanks only") << "   " << -1 << refused;
        QTest::newRow("blank inside") << "3 0" << -1 << refused;
        QTest::newRow("tab before") << "\t30" << -1 << refused;
        QTest::newRow("no-break space before") << QStringLiteral("\u00a030") << -1 << refused;
        QTest::newRow("line feed after") << "30\n" << -1 << refused;
        QTest::newRow("nul inside") << QString(u'3') + QChar(0) + u'0' << -1 << refused;
        QTest::newRow("minus") << "-30" << -1 << refused;
        QTest::newRow("plus") << "+30" << -1 << refused;
        QTest::newRow("fraction") << "30.5" << -1 << refused;
        QTest::newRow("french decimal comma") << "30,0" << -1 << refused;
        QTest::newRow("exponent") << "3e1" << -1 << refused;
        QTest::newRow("hexadecimal") << "0x1E" << -1 << refused;
        QTest::newRow("letters") << "abc" << -1 << refused;
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0663\u0660") << -1 << refused;
        QTest::newRow("full-width digits") << QStringLiteral("\uff13\uff10") << -1 << refused;
        // Values that a 32- or 64-bit wrap-around would turn into 30.
        QTest::newRow("2^32 + 30") << "4294967326" << -1 << refused;
        QTest::newRow("2^64 + 30") << "18446744073709551646" << -1 << refused;
        QTest::newRow("twenty nines") << "99999999999999999999" << -1 << refused;
        QTest::newRow("ten thousand digits") << QString(10000, u'7') << -1 << refused;
    }

    void readsOnlyWholeNumbersInRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, mines);
        QFETCH(QString, shown);

        const std::optional<MineCount> count = readMineCount(typed);
        QCOMPARE(count.has_value(), mines != -1);
        if (count) {
            QCOMPARE(count->mines, mines);
            QCOMPARE(count->shown, shown);
        }
    }
};

QTEST_APPLESS_MAIN(MineCountTest)
#include "test_minecount.moc"
