// SPDX-License-Identifier: GPL-3.0-or-later
#include "boxes.h"
#include "fixeddraws.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "twosides.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kCode = QStringLiteral("004217");

bool covered(demin& window, int index)
{
    return !cover(window, index)->isHidden();
}

// The side's next question: `whileOpen` runs with it on screen, then it is answered "Non".
void underQuestion(TwoSides::Side& side, const std::function<void()>& whileOpen)
{
    side.answers.push_back([whileOpen](QWidget* box) {
        whileOpen();
        clickButton(box, QStringLiteral("Non"));
    });
}

} // namespace

// Two windows over loopback, as two players meet them: what one side does reaches the duel
// only when it is that side's turn, and never while the other side has a box open.
class TestTurns : public QObject {
    Q_OBJECT
private slots:
    void movesWaitForTheirTurnAndForBoxes()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat hostSeat(host, gate);
        host.show();
        demin joiner;
        TwoSides boxes(&host, &joiner);
        boxes.host.type(QStringLiteral("30"));
        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), gate.port(), kCode.toUInt());
        QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
        attempt.start();
        QVERIFY(joined.wait(5000));
        JoinSeat joinSeat(joiner, joined.first().first().value<net::Link*>());
        joiner.show();
        QTRY_COMPARE(caption(joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));

        // Player 1 opens the top of the board while the joiner asks itself whether to quit:
        // the joiner's board does not change under its question, and catches up after it.
        bool stillUnderBox = false;
        // Both windows live in this one process, where a box blocks the other window's mouse:
        // the other player's click is given to its cover directly.
        underQuestion(boxes.joiner, [&] {
            cover(host, 0)->click();
            QTRY_VERIFY(!covered(host, 0));
            QTest::qWait(300);
            stillUnderBox = covered(joiner, 0);
        });
        QTest::mouseClick(joiner.findChild<QAbstractButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_VERIFY(!covered(joiner, 0));
        QVERIFY2(stillUnderBox, "the host's move was played under the joiner's box");
        QTRY_COMPARE(caption(joiner, QStringLiteral("lblMain")),
                     QStringLiteral("Le joueur n°2 a la main."));

        // Player 2's turn. A click on the host's desk, on another cell, is no move at all.
        clickCell(host, 181);
        // The joiner's click, sent while the host's player reads "Nouvelle manche ?", waits
        // for the box to close.
        stillUnderBox = false;
        underQuestion(boxes.host, [&] {
            cover(joiner, 180)->click();
            QTest::qWait(300);
            stillUnderBox = covered(host, 180);
        });
        QTest::mouseClick(host.findChild<QAbstractButton*>(QStringLiteral("cmdNouvellePartie")),
                          Qt::LeftButton);
        QTRY_VERIFY(!covered(host, 180));
        QVERIFY2(stillUnderBox, "the joiner's move was played under the host's box");
        QTRY_VERIFY(!covered(joiner, 180));
        QVERIFY(covered(host, 181));
        QVERIFY(covered(joiner, 181));
        QCOMPARE(caption(host, QStringLiteral("lblMain")),
                 QStringLiteral("Le joueur n°2 a la main."));
        QCOMPARE(caption(joiner, QStringLiteral("lblScore(1)")),
                 caption(host, QStringLiteral("lblScore(1)")));
        QCOMPARE(caption(joiner, QStringLiteral("lblScore(2)")),
                 caption(host, QStringLiteral("lblScore(2)")));
        QCOMPARE(boxes.host.seen.mid(1),
                 QStringList{QStringLiteral(
                     "Nouvelle manche ?|Voulez-vous vraiment commencer une nouvelle manche ?")});
        QCOMPARE(boxes.joiner.seen,
                 QStringList{QStringLiteral("Quitter ?|Voulez-vous vraiment quitter ?")});
        QVERIFY(boxes.host.unexpected.isEmpty() && boxes.joiner.unexpected.isEmpty());
        QVERIFY(boxes.stray.isEmpty());
    }
};

QTEST_MAIN(TestTurns)
#include "test_turns.moc"
