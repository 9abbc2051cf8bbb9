#include "commandline.h"

#include <QTest>

using namespace volcanelle;

// The command line is read before any application object or display exists: these run
// with neither.
class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void noOptionIsTheTwoPlayerDuel()
    {
        const CommandLine line = parseCommandLine({QStringLiteral("volcanelle")});
        QVERIFY(!line.exitCode);
        QVERIFY(!line.options.computer);
        QVERIFY(line.out.isEmpty() && line.err.isEmpty());
    }

    void computerLongAndShort()
    {
        for (const char* option : {"--computer", "-c"}) {
            const CommandLine line =
                parseCommandLine({QStringLiteral("volcanelle"), QString::fromLatin1(option)});
            QVERIFY2(!line.exitCode, option);
            QVERIFY2(line.options.computer, option);
        }
    }

    void helpAndVersionInFrench()
    {
        const CommandLine help =
            parseCommandLine({QStringLiteral("volcanelle"), QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Utilisation : volcanelle [options]\n")),
                 qPrintable(help.out));
        QVERIFY(help.out.contains(
            QStringLiteral("-c, --computer  Jouer seul : l'ordinateur tient le joueur 2.")));

        const CommandLine version =
            parseCommandLine({QStringLiteral("volcanelle"), QStringLiteral("-v")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("Volcanelle 1.00\n"));
    }

    void refusalsEndWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("unknown long") << QStringList{QStringLiteral("--ordinateur")}
                                      << "volcanelle : option inconnue « --ordinateur ».";
        QTest::newRow("unknown short in a bundle")
            << QStringList{QStringLiteral("-cz")} << "volcanelle : option inconnue « -z ».";
        QTest::newRow("stray argument") << QStringList{QStringLiteral("-c"), QStringLiteral("2")}
                                        << "volcanelle : argument inattendu « 2 ».";
        QTest::newRow("value on a flag") << QStringList{QStringLiteral("--computer=oui")}
                                         << "volcanelle : Valeur inattendue après \"--computer\".";
    }

    void refusalsEndWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        const CommandLine line =
            parseCommandLine(QStringList{QStringLiteral("volcanelle")} + arguments);
        QCOMPARE(line.exitCode, 2);
        QVERIFY(line.out.isEmpty());
        QCOMPARE(line.err.section(QLatin1Char('\n'), 0, 0), firstLine);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
