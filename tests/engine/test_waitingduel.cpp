// SPDX-License-Identifier: GPL-3.0-or-later
// A whole duel driven by calls alone: the view shows the questions and leaves them waiting,
// and the test answers them as a remote player would, some time later.
#include "stagedduel.h"

#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

std::vector<int> bottomRows()
{
    std::vector<int> cells;
    for (int cell = 195; cell < kCells; ++cell)
        cells.push_back(cell);
    return cells;
}

} // namespace

class WaitingDuelTest : public QObject {
    Q_OBJECT

private slots:
    void wholeDuelAnsweredLater()
    {
        RecordingView view;
        view.holds = true;
        CountedDraws draws(bottomRows());
        Duel duel(view, draws);

        QVERIFY(duel.startDuel());
        QCOMPARE(duel.question().kind, Question::Kind::Count);
        QCOMPARE(duel.question().player, 1);
        QCOMPARE(duel.question().text,
                 QStringLiteral("Entrez un nombre de mines entre 30 et 100 : "));
        // While the count waits, clicks and commands change nothing.
        duel.cmdCase_Click(0);
        duel.askNewRound(2);
        QVERIFY(view.uncovered.empty());
        duel.answer(true);
        duel.acknowledge();
        QCOMPARE(duel.question().kind, Question::Kind::Count);

        duel.answerCount(QStringLiteral("abc"));
        QCOMPARE(duel.question().kind, Question::Kind::Count);
        duel.answerCount(QStringLiteral("30"));
        QVERIFY(!duel.question());
        QCOMPARE(view.status, QStringLiteral("30 bombes restantes"));

        // Player 1 takes every mine: the round's end is two notices for everyone.
        duel.cmdCase_Click(180);
        QCOMPARE(view.turn, QStringLiteral("Le joueur n°2 a la main."));
        for (int cell = 195; cell < kCells; ++cell)
            duel.cmdCase_Click(cell);
        QCOMPARE(duel.question().kind, Question::Kind::Notice);
        QCOMPARE(duel.question().player, 0);
        QCOMPARE(duel.question().text, QStringLiteral("La partie est terminée"));
        duel.cmdCase_Click(0);
        duel.acknowledge();
        QCOMPARE(duel.question().text, QStringLiteral("Le joueur 2 a gagné !"));
        QCOMPARE(view.roundsWon[1], QString());
        duel.acknowledge();
        QCOMPARE(view.roundsWon[1], QStringLiteral("Partie gagnée : 1"));
        QCOMPARE(view.turn, QStringLiteral("Le joueur n°1 a la main."));

        // A click after the end tells only the player who clicked.
        duel.cmdCase_Click(0, 2);
        QCOMPARE(duel.question().kind, Question::Kind::Notice);
        QCOMPARE(duel.question().player, 2);
        duel.acknowledge();

        // "Nouvelle manche" from player 2: the count is theirs; a cancel asks them to quit.
        duel.askNewRound(2);
        QCOMPARE(duel.question().kind, Question::Kind::NewRound);
        QCOMPARE(duel.question().player, 2);
        duel.answer(true);
        QCOMPARE(duel.question().kind, Question::Kind::Count);
        QCOMPARE(duel.question().player, 2);
        duel.cancel();
        QCOMPARE(duel.question().kind, Question::Kind::Quit);
        QCOMPARE(duel.question().player, 2);
        duel.answer(false);
        QCOMPARE(duel.question().kind, Question::Kind::Count);
        duel.answerCount(QStringLiteral("030"));
        QVERIFY(!duel.question());
        QCOMPARE(view.status, QStringLiteral("030 bombes restantes"));
        QCOMPARE(duel.board().coveredCount(), kCells);

        // Player 1 quits while player 2 chooses a count: the verdict, then the end.
        duel.askNewRound(2);
        duel.answer(true);
        duel.askQuit(1);
        QCOMPARE(duel.question().kind, Question::Kind::Quit);
        QCOMPARE(duel.question().player, 1);
        duel.answer(true);
        QCOMPARE(duel.question().kind, Question::Kind::Notice);
        QCOMPARE(duel.question().text, QStringLiteral("Le joueur 2 a gagné le jeu."));
        QVERIFY(!duel.finished());
        duel.acknowledge();
        QVERIFY(duel.finished());
        QVERIFY(!duel.question());
        duel.cmdCase_Click(0);
        QVERIFY(!duel.question());
    }

    // "Quitter" confirmed where the duel could not ask it: ignored while another question
    // waits, else the verdict to every player, then the end.
    void quitConfirmedElsewhere()
    {
        RecordingView view;
        view.holds = true;
        CountedDraws draws(bottomRows());
        Duel duel(view, draws);
        duel.startDuel();
        duel.answerCount(QStringLiteral("30"));
        duel.askNewRound(2);
        QVERIFY(!duel.quit(1));
        QCOMPARE(duel.question().kind, Question::Kind::NewRound);
        duel.answer(false);
        QVERIFY(!duel.quit(1));
        QCOMPARE(duel.question().kind, Question::Kind::Notice);
        QCOMPARE(duel.question().player, 0);
        QCOMPARE(duel.question().text, QStringLiteral("Le jeu est serré, personne n'a gagné."));
        duel.acknowledge();
        QVERIFY(duel.finished());
    }

    void firstCountCancelledEndsAtOnce()
    {
        ScriptedView view;
        view.holds = true;
        CountedDraws draws(bottomRows());
        Duel duel(view, draws);
        duel.startDuel();
        duel.cancel();
        QVERIFY(duel.finished());
        QVERIFY(!duel.question());
        QVERIFY(view.logged(QStringLiteral("announce")).isEmpty());
    }
};

QTEST_APPLESS_MAIN(WaitingDuelTest)
#include "test_waitingduel.moc"
