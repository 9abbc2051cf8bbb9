// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/texts.h"
#include "stagedduel.h"

#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

// The board of every test here: mines fill rows 13 and 14 (cells 195 to 224), row 12
// (180 to 194) is numbered and the rest is blank.
namespace {

QString announced(const texts::Message& message)
{
    return QStringLiteral("announce: %1: %2").arg(message.title, message.text);
}

QString turnLine(int joueur)
{
    return QStringLiteral("turn: ") + texts::turnCaption(joueur);
}

QString scoreLine(int joueur, int points)
{
    return QStringLiteral("score%1: %2").arg(joueur).arg(texts::scoreCaption(points));
}

QString statusLine(int mines)
{
    return QStringLiteral("status: ") + texts::minesLeftCaption(mines);
}

QList<int> mines(int first, int last)
{
    QList<int> cells;
    for (int cell = first; cell <= last; ++cell)
        cells << cell;
    return cells;
}

void clickAll(StagedDuel& staged, const QList<int>& cells)
{
    for (const int cell : cells)
        staged.duel.cmdCase_Click(cell);
}

// Plays a whole round that `winner` wins on their own, then sets up the next one.
void winRound(StagedDuel& staged, int winner)
{
    if (staged.duel.joueur() != winner)
        staged.duel.cmdCase_Click(180);
    clickAll(staged, mines(195, 224));
    staged.newRound();
}

} // namespace

class TurnsTest : public QObject {
    Q_OBJECT

private slots:
    void mineScoresAndKeepsTheTurn()
    {
        StagedDuel staged(twoBottomRows());
        staged.click({195, 196});
        const QStringList expected{scoreLine(1, 1), statusLine(29), scoreLine(1, 2),
                                   statusLine(28)};
        QCOMPARE(staged.view.log, expected);
        QCOMPARE(staged.duel.joueur(), 1);
        QCOMPARE(staged.duel.score(1), 2);
        QCOMPARE(staged.duel.bombesRestantes(), 28);
    }

    void numberedCellPassesTheTurn()
    {
        StagedDuel staged(twoBottomRows());
        staged.click({180, 200});
        const QStringList expected{turnLine(2), scoreLine(2, 1), statusLine(29)};
        QCOMPARE(staged.view.log, expected);
        QCOMPARE(staged.view.uncovered, (std::vector<int>{180, 200}));
        QCOMPARE(staged.duel.score(1), 0);
        QCOMPARE(staged.duel.score(2), 1);
    }

    void ignoredClicks()
    {
        StagedDuel staged(twoBottomRows());
        staged.click({195});
        staged.view.forget();
        staged.click({195, -1, 225});
        QVERIFY(staged.view.log.isEmpty());
        QVERIFY(staged.view.uncovered.empty());
        QCOMPARE(staged.duel.score(1), 1);
    }

    void endOfRound_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("lastClick");
        QTest::addColumn<int>("nextPlayer");
        QTest::addColumn<int>("won1");
        QTest::addColumn<int>("won2");

        const QString finished = announced(texts::roundFinished());
        QTest::newRow("player 1 finds every mine")
            << mines(195, 224)
            << QStringList{scoreLine(1, 30),
                           statusLine(0),
                           finished,
                           announced(texts::roundWonBy(1)),
                           QStringLiteral("won1: ") + texts::roundsWonCaption(1),
                           turnLine(2)}
            << 2 << 1 << 0;
        QTest::newRow("player 2 finds every mine")
            << QList<int>{180} + mines(195, 224)
            << QStringList{scoreLine(2, 30),
                           statusLine(0),
                           finished,
                           announced(texts::roundWonBy(2)),
                           QStringLiteral("won2: ") + texts::roundsWonCaption(1),
                           turnLine(1)}
            << 1 << 0 << 1;
        QTest::newRow("player 1 wins, player 2 finds the last mine")
            << mines(195, 210) + QList<int>{181} + mines(211, 224)
            << QStringList{scoreLine(2, 14),
                           statusLine(0),
                           finished,
                           announced(texts::roundWonBy(1)),
                           QStringLiteral("won1: ") + texts::roundsWonCaption(1),
                           turnLine(1)}
            << 1 << 1 << 0;
        QTest::newRow("draw") << mines(195, 209) + QList<int>{181} + mines(210, 224)
                              << QStringList{scoreLine(2, 15), statusLine(0), finished,
                                             announced(texts::roundDrawn()), turnLine(1)}
                              << 1 << 0 << 0;
    }

    void endOfRound()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, lastClick);
        QFETCH(int, nextPlayer);
        QFETCH(int, won1);
        QFETCH(int, won2);

        StagedDuel staged(twoBottomRows());
        clickAll(staged, clicks.mid(0, clicks.size() - 2));
        staged.view.forget();
        staged.duel.cmdCase_Click(clicks[clicks.size() - 2]);
        QCOMPARE(staged.view.status, texts::minesLeftCaption(1));
        QVERIFY(staged.duel.roundInPlay());

        staged.view.forget();
        staged.duel.cmdCase_Click(clicks.last());
        QCOMPARE(staged.view.log, lastClick);
        QCOMPARE(staged.duel.joueur(), nextPlayer);
        QCOMPARE(staged.duel.partiesGagnees(1), won1);
        QCOMPARE(staged.duel.partiesGagnees(2), won2);
        QVERIFY(!staged.duel.roundInPlay());
        // The rest of the board stays as it was.
        QCOMPARE(staged.duel.board().coveredCount(), kCells - clicks.size());
    }

    void secondRoundWon()
    {
        StagedDuel staged(twoBottomRows());
        winRound(staged, 1);
        staged.view.forget();
        winRound(staged, 1);
        QCOMPARE(staged.duel.partiesGagnees(1), 2);
        QCOMPARE(staged.view.logged(QStringLiteral("won1: ")),
                 QStringList{QStringLiteral("won1: ") + texts::roundsWonCaption(2)});
        QCOMPARE(staged.view.roundsWon[0], texts::roundsWonCaption(2));
    }

    void clicksAfterTheEnd()
    {
        StagedDuel staged(twoBottomRows());
        clickAll(staged, QList<int>{180} + mines(195, 224));
        const QString status = staged.view.status;
        const QString turn = staged.view.turn;
        const std::array<QString, 2> scores = staged.view.scores;
        staged.view.forget();

        // Uncovered and off-board cells are ignored, as during play.
        staged.click({0, 180, -1, 100, 225, 0});
        const QString over = announced(texts::roundOver());
        QCOMPARE(staged.view.log, QStringList(3, over));
        QVERIFY(staged.view.uncovered.empty());
        QVERIFY(staged.duel.board().isCovered(0));
        QCOMPARE(staged.duel.joueur(), 1);
        QCOMPARE(staged.duel.score(2), 30);
        QCOMPARE(staged.duel.partiesGagnees(2), 1);
        QCOMPARE(staged.view.status, status);
        QCOMPARE(staged.view.turn, turn);
        QCOMPARE(staged.view.scores, scores);
    }

    void newRoundDeclined()
    {
        StagedDuel staged(twoBottomRows());
        staged.click({195, 180});
        staged.view.forget();
        staged.view.answers = {false};
        staged.duel.askNewRound();
        QCOMPARE(staged.view.log,
                 QStringList{QStringLiteral("confirm: ") + texts::askNewRound().title});
        QVERIFY(staged.view.uncovered.empty());
        QCOMPARE(staged.duel.board().coveredCount(), kCells - 2);
        QCOMPARE(staged.duel.joueur(), 2);
        QCOMPARE(staged.duel.score(1), 1);
        QCOMPARE(staged.duel.bombesRestantes(), 29);
    }

    void newRoundInTheMiddleOfARound()
    {
        StagedDuel staged(twoBottomRows());
        winRound(staged, 1);
        staged.click({195});
        QCOMPARE(staged.duel.joueur(), 2);
        staged.view.forget();

        staged.newRound();
        const QStringList expected{QStringLiteral("confirm: ") + texts::askNewRound().title,
                                   QStringLiteral("ask: ") + texts::mineCountTitle(),
                                   statusLine(30), scoreLine(1, 0), scoreLine(2, 0)};
        QCOMPARE(staged.view.log, expected);
        QCOMPARE(staged.duel.joueur(), 2);
        QCOMPARE(staged.duel.partiesGagnees(1), 1);
        QCOMPARE(staged.duel.score(2), 0);
        QCOMPARE(staged.duel.board().coveredCount(), kCells);
    }

    void quitDeclined()
    {
        StagedDuel staged(twoBottomRows());
        staged.click({195});
        staged.view.forget();
        staged.view.answers = {false};
        QVERIFY(!staged.duel.askQuit());
        QCOMPARE(staged.view.log,
                 QStringList{QStringLiteral("confirm: ") + texts::askQuit().title});
        QCOMPARE(staged.duel.score(1), 1);
    }

    // The verdict counts rounds won only; the loser on rounds leads the round in play.
    void quitVerdict_data()
    {
        QTest::addColumn<QList<int>>("winners");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("no round won") << QList<int>{} << announced(texts::duelDrawn());
        QTest::newRow("one round each") << QList<int>{1, 2} << announced(texts::duelDrawn());
        QTest::newRow("2-1 for player 1") << QList<int>{1, 2, 1} << announced(texts::duelWonBy(1));
        QTest::newRow("1-2 for player 2") << QList<int>{2, 1, 2} << announced(texts::duelWonBy(2));
    }

    void quitVerdict()
    {
        QFETCH(QList<int>, winners);
        QFETCH(QString, verdict);

        StagedDuel staged(twoBottomRows());
        for (const int winner : winners)
            winRound(staged, winner);
        const int loser = staged.duel.partiesGagnees(1) > staged.duel.partiesGagnees(2) ? 2 : 1;
        if (staged.duel.joueur() != loser)
            staged.click({180});
        clickAll(staged, mines(195, 204));
        QCOMPARE(staged.duel.score(loser), 10);

        staged.view.forget();
        staged.view.answers = {true};
        QVERIFY(staged.duel.askQuit());
        QCOMPARE(staged.view.log,
                 (QStringList{QStringLiteral("confirm: ") + texts::askQuit().title, verdict}));
    }

    // Against the computer, every text that names player 2 names the computer instead;
    // player 1 keeps the two-player wording.
    void computerNamedAsPlayerTwo()
    {
        const auto computer = texts::Opponent::Computer;
        StagedDuel staged(twoBottomRows(), computer);
        staged.click({180});
        QCOMPARE(staged.view.log.first(),
                 QStringLiteral("turn: ") + texts::turnCaption(2, computer));
        staged.view.forget();
        clickAll(staged, mines(195, 224));
        QVERIFY(staged.view.log.contains(announced(texts::roundWonBy(2, computer))));
        QCOMPARE(staged.view.log.last(), turnLine(1));

        staged.view.forget();
        staged.view.answers = {true};
        QVERIFY(staged.duel.askQuit());
        QCOMPARE(staged.view.log.last(), announced(texts::duelWonBy(2, computer)));
    }
};

QTEST_APPLESS_MAIN(TurnsTest)
#include "test_turns.moc"
