// SPDX-License-Identifier: GPL-3.0-or-later
// A network duel through a loopback relay that the test cuts: each side says the connection
// is interrupted, the joiner comes back with its token, and the duel goes on where it was,
// boxes included; only a side away past the limit ends the duel.
#include "boxes.h"
#include "fixeddraws.h"
#include "net/comeback.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "relay.h"
#include "sight.h"
#include "twosides.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kInterrupted = QStringLiteral("Connexion interrompue, nouvelle tentative…");
const QString kLost =
    QStringLiteral("Duel en réseau|La connexion avec l'adversaire est perdue. Le duel s'arrête.");

// Timings for the tests that need no shipped ones: a loss noticed within a second.
struct Timings {
    int pingMs = net::kPingMs;
    int silenceMs = net::kSilenceMs;
    int awayMs = net::kAwayMs;
};
constexpr Timings kQuick{200, 1000, 20000};

// A host and a joiner whose every byte goes through a relay, the first round's count (30)
// chosen by the host.
class Duo {
public:
    explicit Duo(Timings timings) : draws_(twoMineRows()), host(&draws_), gate(code())
    {
        gate.setLinkTimings(timings.pingMs, timings.silenceMs);
        hostSeat = std::make_unique<HostSeat>(host, gate);
        hostSeat->setAwayLimit(timings.awayMs);
        host.show();
        boxes = std::make_unique<TwoSides>(&host, &joiner);
        boxes->host.type(QStringLiteral("30"));
        if (!gate.listen(QHostAddress::LocalHost, 0))
            return;
        relay = std::make_unique<Relay>(gate.port());
        if (!relay->listen())
            return;
        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), relay->port(), 4217);
        QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
        attempt.start();
        if (!joined.wait(5000))
            return;
        auto* link = joined.first().first().value<net::Link*>();
        link->setTimings(timings.pingMs, timings.silenceMs);
        joinSeat = std::make_unique<JoinSeat>(joiner, link);
        auto* comeback =
            new net::Comeback(QStringLiteral("127.0.0.1"), relay->port(), attempt.token());
        comeback->setTimings(timings.awayMs, 200);
        joinSeat->setComeback(comeback);
        joiner.show();
    }

    static QString code() { return QStringLiteral("004217"); }
    bool ready() const { return joinSeat != nullptr; }

private:
    FixedDraws draws_;

public:
    demin host;
    net::HostGate gate;
    std::unique_ptr<HostSeat> hostSeat;
    std::unique_ptr<Relay> relay;
    demin joiner;
    std::unique_ptr<JoinSeat> joinSeat;
    std::unique_ptr<TwoSides> boxes;
};

// Plays cell `index` from `window` and waits until both windows show the same thing.
bool play(Duo& duo, demin& window, int index)
{
    clickCell(window, index);
    return QTest::qWaitFor([&] {
        return cover(duo.host, index)->isHidden() && visible(duo.joiner) == visible(duo.host);
    });
}

} // namespace

class TestComeback : public QObject {
    Q_OBJECT
private slots:
    // Shipped timings: a cut longer than the 6 s silence a link bears. Both sides say the
    // connection is interrupted; once the network is back the joiner comes back by itself,
    // both windows show the same duel, and moves go on from both sides.
    void aCutPastTheSilenceIsNotTheEnd()
    {
        Duo duo(Timings{});
        QVERIFY(duo.ready());
        QSignalSpy hostDone(duo.hostSeat.get(), &HostSeat::finished);
        QSignalSpy joinerDone(duo.joinSeat.get(), &JoinSeat::finished);
        QTRY_COMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(play(duo, duo.host, 0));

        duo.relay->cut();
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.host, QStringLiteral("Panel3")), kInterrupted, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.joiner, QStringLiteral("Panel3")), kInterrupted,
                                  15000);
        // Nobody plays into the void meanwhile.
        clickCell(duo.joiner, 180);
        clickCell(duo.host, 181);
        QTest::qWait(300);
        QVERIFY(!cover(duo.host, 180)->isHidden());
        QVERIFY(!cover(duo.host, 181)->isHidden());

        duo.relay->restore();
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.joiner, QStringLiteral("Panel3")),
                                  QStringLiteral("30 bombes restantes"), 15000);
        QTRY_COMPARE(caption(duo.host, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QTRY_COMPARE(visible(duo.joiner), visible(duo.host));
        QVERIFY(play(duo, duo.joiner, 180));
        QVERIFY(play(duo, duo.joiner, kNumberedBelowMines));
        QVERIFY(play(duo, duo.host, 181));
        QCOMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                 QStringLiteral("28 bombes restantes"));
        QCOMPARE(hostDone.size(), 0);
        QCOMPARE(joinerDone.size(), 0);
        QVERIFY2(duo.boxes->joiner.seen.isEmpty(), qPrintable(duo.boxes->joiner.seen.join('\n')));
        QVERIFY(duo.boxes->stray.isEmpty());
    }

    // The last mine is found while the network is cut, before either side knows it: the
    // round's boxes never reach the joiner then. Once back, it is shown the board as it
    // stands and those boxes, once each, and can start the next round.
    void boxesMissedInTheCutComeOnReturn()
    {
        Duo duo(kQuick);
        QVERIFY(duo.ready());
        QTRY_COMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(play(duo, duo.host, 0));
        for (int mine = 180; mine < 195; ++mine)
            QVERIFY(play(duo, duo.joiner, mine));
        QVERIFY(play(duo, duo.joiner, kNumberedBelowMines));
        for (int mine = 195; mine < 209; ++mine)
            QVERIFY(play(duo, duo.host, mine));
        QCOMPARE(duo.boxes->host.seen.size(), 1); // the count

        duo.relay->cut();
        clickCell(duo.host, 209);
        const QStringList roundEnd{QStringLiteral("On pose la souris|La partie est terminée"),
                                   QStringLiteral("Vous êtes nul !!!|Match nul !")};
        QTRY_COMPARE(duo.boxes->host.seen.mid(1), roundEnd);
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.joiner, QStringLiteral("Panel3")), kInterrupted,
                                  10000);
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.host, QStringLiteral("Panel3")), kInterrupted, 10000);
        QVERIFY(duo.boxes->joiner.seen.isEmpty());

        duo.relay->restore();
        QTRY_COMPARE_WITH_TIMEOUT(duo.boxes->joiner.seen, roundEnd, 10000);
        QTRY_COMPARE(visible(duo.joiner), visible(duo.host));
        QCOMPARE(caption(duo.joiner, QStringLiteral("Panel3")), QStringLiteral("0 bombe restante"));

        // The joiner starts the next round and chooses its count over the new connection.
        duo.boxes->joiner.press(QStringLiteral("Oui"));
        duo.boxes->joiner.type(QStringLiteral("30"));
        QTest::mouseClick(
            duo.joiner.findChild<QAbstractButton*>(QStringLiteral("cmdNouvellePartie")),
            Qt::LeftButton);
        QTRY_COMPARE(caption(duo.host, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QTRY_COMPARE(visible(duo.joiner), visible(duo.host));
        QCOMPARE(duo.boxes->joiner.seen.size(), 4);
        QVERIFY2(duo.boxes->joiner.unexpected.isEmpty(),
                 qPrintable(duo.boxes->joiner.unexpected.join('\n')));
    }

    // The joiner's count box is open while the network is cut and comes back: the joiner is
    // not asked twice, and the count it gives afterwards is played.
    void anOpenCountBoxOutlivesTheCut()
    {
        Duo duo(kQuick);
        QVERIFY(duo.ready());
        QTRY_COMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(play(duo, duo.host, 0));
        QSignalSpy back(&duo.gate, &net::HostGate::cameBack);
        // The cut, and the comeback, happen while the box is open; the answer comes after.
        bool interrupted = false;
        bool resumed = false;
        duo.boxes->joiner.press(QStringLiteral("Oui"));
        duo.boxes->joiner.answers.push_back([&](QWidget* box) {
            // Boxes opened over this one (the end of the duel, should the cut end it) are
            // closed from here: the answerer waits for this callback.
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [&] {
                QWidget* over = QApplication::activeModalWidget();
                if (over && over != box) {
                    duo.boxes->joiner.unexpected << describe(over);
                    closeAnyway(over);
                }
            });
            closer.start(20);
            duo.relay->cut();
            interrupted = QTest::qWaitFor(
                [&] { return caption(duo.joiner, QStringLiteral("Panel3")) == kInterrupted; },
                10000);
            duo.relay->restore();
            resumed =
                QTest::qWaitFor([&] { return back.size() == 1; }, 10000) &&
                QTest::qWaitFor(
                    [&] { return caption(duo.joiner, QStringLiteral("Panel3")) != kInterrupted; },
                    10000);
            // Whatever the host sent on its return reaches this side before the answer.
            QTest::qWait(500);
            if (auto* edit = box->findChild<QLineEdit*>())
                edit->setText(QStringLiteral("30"));
            clickButton(box, QStringLiteral("OK"));
        });
        // A second count box, were one opened, gets an answer and is counted below.
        duo.boxes->joiner.type(QStringLiteral("30"));
        QTest::mouseClick(
            duo.joiner.findChild<QAbstractButton*>(QStringLiteral("cmdNouvellePartie")),
            Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(duo.boxes->joiner.answers.size(), std::size_t{1}, 25000);
        QVERIFY(interrupted);
        QVERIFY(resumed);
        QTRY_COMPARE(coversOn(duo.host), kCells);
        QTRY_COMPARE(caption(duo.host, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QTRY_COMPARE(visible(duo.joiner), visible(duo.host));
        QVERIFY(play(duo, duo.joiner, 0));
        QCOMPARE(duo.boxes->joiner.seen.size(), 2);
        QCOMPARE(duo.boxes->joiner.answers.size(), std::size_t{1});
        QVERIFY2(duo.boxes->joiner.unexpected.isEmpty(),
                 qPrintable(duo.boxes->joiner.unexpected.join('\n')));
    }

    // The host chooses "Quitter" while the joiner is away, and the joiner comes back before
    // the host answers Yes: the Yes still ends the duel, with its verdict on both sides.
    void aQuitAnsweredAsTheJoinerReturnsIsKept()
    {
        Duo duo(kQuick);
        QVERIFY(duo.ready());
        QTRY_COMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(play(duo, duo.host, 0));
        QSignalSpy back(&duo.gate, &net::HostGate::cameBack);
        QSignalSpy hostDone(duo.hostSeat.get(), &HostSeat::finished);
        QSignalSpy joinerDone(duo.joinSeat.get(), &JoinSeat::finished);
        duo.relay->cut();
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.host, QStringLiteral("Panel3")), kInterrupted, 10000);

        bool returned = false;
        duo.boxes->host.answers.push_back([&](QWidget* box) {
            duo.relay->restore();
            returned =
                QTest::qWaitFor([&] { return back.size() == 1; }, 10000) &&
                QTest::qWaitFor(
                    [&] { return caption(duo.host, QStringLiteral("Panel3")) != kInterrupted; },
                    10000);
            clickButton(box, QStringLiteral("Oui"));
        });
        QTest::mouseClick(duo.host.findChild<QAbstractButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        // The box does not hold the click up: it is answered from the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(returned, 25000);
        const QString verdict = QStringLiteral(
            "Recommencez le duel un autre fois !|Le jeu est serré, personne n'a gagné.");
        QTRY_VERIFY_WITH_TIMEOUT(duo.boxes->joiner.seen.contains(verdict), 10000);
        QTRY_VERIFY(duo.boxes->host.seen.contains(verdict));
        QTRY_COMPARE(hostDone.size(), 1);
        QTRY_COMPARE(joinerDone.size(), 1);
        QCOMPARE(hostDone.first().first().toInt(), 0);
        QCOMPARE(joinerDone.first().first().toInt(), 0);
    }

    // Cut for good: both sides say the connection is interrupted, then, past the time a side
    // may be away, the duel ends on both with the loss and the verdict.
    void pastTheLimitTheDuelEnds()
    {
        Duo duo(Timings{200, 1000, 1500});
        QVERIFY(duo.ready());
        QSignalSpy hostDone(duo.hostSeat.get(), &HostSeat::finished);
        QSignalSpy joinerDone(duo.joinSeat.get(), &JoinSeat::finished);
        QTRY_COMPARE(caption(duo.joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));

        duo.relay->cut();
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.host, QStringLiteral("Panel3")), kInterrupted, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(caption(duo.joiner, QStringLiteral("Panel3")), kInterrupted,
                                  10000);
        QCOMPARE(hostDone.size() + joinerDone.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(hostDone.size(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(joinerDone.size(), 1, 10000);
        QCOMPARE(hostDone.first().first().toInt(), 1);
        QCOMPARE(joinerDone.first().first().toInt(), 1);
        const QString verdict = QStringLiteral(
            "Recommencez le duel un autre fois !|Le jeu est serré, personne n'a gagné.");
        QCOMPARE(duo.boxes->host.seen.mid(1), (QStringList{kLost, verdict}));
        QCOMPARE(duo.boxes->joiner.seen, (QStringList{kLost, verdict}));
    }
};

QTEST_MAIN(TestComeback)
#include "test_comeback.moc"
