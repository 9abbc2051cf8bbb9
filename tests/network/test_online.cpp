// SPDX-License-Identifier: GPL-3.0-or-later
// Two game windows in one process play through a real duel server on loopback, each side's
// connection through a relay the test can cut: the server holds the duel, both windows show
// the same board after every move, a side whose opponent is away waits, and a server that
// stops ends both programs as a lost connection does.
#include "net/comeback.h"
#include "net/joinattempt.h"
#include "netplay/joinseat.h"
#include "netplay/roomclaims.h"
#include "relay.h"
#include "server/duelserver.h"
#include "server/serverduel.h"
#include "sight.h"
#include "twosides.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kAway = QStringLiteral("L'adversaire s'est déconnecté…");

// Either side of a room: its window, its relay to the server, and its seat.
struct OnlineSide {
    demin window;
    std::unique_ptr<Relay> relay;
    std::unique_ptr<JoinSeat> seat;
    std::uint64_t room = 0;
    int side = 0;

    bool enter(quint16 serverPort, wire::Enter enter)
    {
        relay = std::make_unique<Relay>(serverPort);
        if (!relay->listen())
            return false;
        QUrl url(QStringLiteral("ws://127.0.0.1/ws"));
        url.setPort(relay->port());
        net::JoinAttempt attempt(url, enter);
        QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
        attempt.start();
        if (!joined.wait(5000))
            return false;
        room = attempt.room();
        side = attempt.side();
        auto* link = joined.first().first().value<net::Link*>();
        link->setTimings(200, 1000);
        seat = std::make_unique<JoinSeat>(window, link, side);
        const QByteArray token = attempt.token();
        auto* comeback = new net::Comeback([url, room = room, token](quint32) {
            return new net::JoinAttempt(
                url, wire::Enter{wire::Enter::Action::Resume, wire::kVersion, room, token});
        });
        comeback->setTimings(20000, 200);
        seat->setComeback(comeback);
        window.show();
        return true;
    }
};

// A server with quick deadlines, the opener and the joiner of one room, the first count (30)
// chosen by the opener.
class Room {
public:
    Room()
    {
        // Above the 2 s between the pings of a link that came back with the shipped timings.
        limits_.silenceMs = 3000;
        limits_.pingMs = 200;
        server = std::make_unique<server::DuelServer>(limits_, [](server::RoomDuel::Outbox out) {
            return std::make_unique<server::ServerDuel>(std::move(out));
        });
        boxes = std::make_unique<TwoSides>(&opener.window, &joiner.window);
        boxes->host.type(QStringLiteral("30"));
        if (!server->listen(QHostAddress::LocalHost, 0) || !opener.enter(server->port(), {}))
            return;
        ready_ =
            joiner.enter(server->port(),
                         wire::Enter{wire::Enter::Action::Join, wire::kVersion, opener.room, {}});
    }

    bool ready() const { return ready_; }
    // The side whose turn it is, as its window says.
    OnlineSide& mover()
    {
        return caption(joiner.window, QStringLiteral("lblMain")).contains(QStringLiteral("n°2"))
                   ? joiner
                   : opener;
    }
    // The mover uncovers its first covered cell; true once both windows show the move.
    bool playOne()
    {
        OnlineSide& side = mover();
        int index = 0;
        while (index < kCells && cover(side.window, index)->isHidden())
            ++index;
        clickCell(side.window, index);
        const bool shown = QTest::qWaitFor([&] {
            return cover(opener.window, index)->isHidden() &&
                   visible(opener.window) == visible(joiner.window);
        });
        if (!shown)
            qWarning() << "cell" << index << "side" << side.side << visible(opener.window)
                       << visible(joiner.window) << boxes->host.seen << boxes->joiner.seen;
        return shown;
    }

private:
    server::ServerLimits limits_;
    bool ready_ = false;

public:
    std::unique_ptr<server::DuelServer> server;
    OnlineSide opener;
    OnlineSide joiner;
    std::unique_ptr<TwoSides> boxes;
};

} // namespace

class TestOnline : public QObject {
    Q_OBJECT
private slots:
    // A side is taken back only from a program that no longer runs, and never by a second
    // program of the same user playing the other side of the same room.
    void roomClaims()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QUrl server(QStringLiteral("ws://127.0.0.1:49855/ws"));
        const QByteArray token(16, 'k');
        auto first = std::make_unique<RoomClaims>(folder.path());
        QVERIFY(!first->takeLeftSide(server, 77));
        QVERIFY(first->claim(server, 77, 1, token));
        RoomClaims second(folder.path());
        QVERIFY(!second.takeLeftSide(server, 77));
        QVERIFY(!second.claim(server, 77, 1, token));
        QVERIFY(second.claim(server, 77, 2, QByteArray(16, 'j')));

        // The first program ends mid-duel: a third takes its side back, on that server only.
        first.reset();
        RoomClaims third(folder.path());
        QVERIFY(!third.takeLeftSide(QUrl(QStringLiteral("ws://127.0.0.2:49855/ws")), 77));
        const std::optional<RoomClaims::Side> left = third.takeLeftSide(server, 77);
        QVERIFY(left);
        QCOMPARE(left->side, 1);
        QCOMPARE(left->token, token);
        // Once its duel is over, nothing is left to take.
        third.release();
        QVERIFY(!RoomClaims(folder.path()).takeLeftSide(server, 77));
    }

    // The opener is player 1 and chooses the count; moves from both sides show alike on both
    // windows; a side's Quitter ends both with the verdict and status 0.
    void aDuelThroughTheServer()
    {
        Room room;
        QVERIFY(room.ready());
        QCOMPARE(room.opener.side, 1);
        QCOMPARE(room.joiner.side, 2);
        QSignalSpy openerDone(room.opener.seat.get(), &JoinSeat::finished);
        QSignalSpy joinerDone(room.joiner.seat.get(), &JoinSeat::finished);
        QTRY_COMPARE(caption(room.joiner.window, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QCOMPARE(caption(room.opener.window, QStringLiteral("lblMain")),
                 QStringLiteral("Le joueur n°1 a la main."));
        // A click out of turn is not even sent.
        clickCell(room.joiner.window, 112);
        QTest::qWait(200);
        QVERIFY(!cover(room.opener.window, 112)->isHidden());
        for (int move = 0; move < 8; ++move)
            QVERIFY2(room.playOne(), qPrintable(QStringLiteral("move %1").arg(move)));

        room.boxes->joiner.press(QStringLiteral("Oui"));
        QTest::mouseClick(
            room.joiner.window.findChild<QAbstractButton*>(QStringLiteral("Command1")),
            Qt::LeftButton);
        QTRY_COMPARE(joinerDone.size(), 1);
        QTRY_COMPARE(openerDone.size(), 1);
        QCOMPARE(joinerDone.first().first().toInt(), 0);
        QCOMPARE(openerDone.first().first().toInt(), 0);
        // The verdict, the same on both sides.
        QVERIFY(room.boxes->host.seen.last().contains(QStringLiteral("gagné")));
        QCOMPARE(room.boxes->joiner.seen.last(), room.boxes->host.seen.last());
        QVERIFY2(room.boxes->host.unexpected.isEmpty(),
                 qPrintable(room.boxes->host.unexpected.join('\n')));
        QVERIFY(room.boxes->stray.isEmpty());
    }

    // While one side's connection is cut, the other side's status bar says so and its
    // clicks change nothing; once the side is back the duel goes on where it was.
    void anOpponentAwayIsWaitedFor()
    {
        Room room;
        QVERIFY(room.ready());
        QTRY_COMPARE(caption(room.joiner.window, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(room.playOne());
        OnlineSide& waiting = room.mover();
        OnlineSide& away = &waiting == &room.opener ? room.joiner : room.opener;
        const QString status = caption(waiting.window, QStringLiteral("Panel3"));

        away.relay->cut();
        QTRY_COMPARE_WITH_TIMEOUT(caption(waiting.window, QStringLiteral("Panel3")), kAway, 10000);
        int index = 0;
        while (cover(waiting.window, index)->isHidden())
            ++index;
        clickCell(waiting.window, index);
        QTest::qWait(300);
        QVERIFY(!cover(waiting.window, index)->isHidden());

        away.relay->restore();
        QTRY_COMPARE_WITH_TIMEOUT(caption(waiting.window, QStringLiteral("Panel3")), status, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(visible(away.window), visible(waiting.window), 15000);
        QVERIFY(room.playOne());
        QVERIFY(room.playOne());
        QVERIFY2(room.boxes->host.unexpected.isEmpty(),
                 qPrintable(room.boxes->host.unexpected.join('\n')));
    }

    // A server that stops gives the verdict so far and says why to both sides, which then
    // end with status 1.
    void aServerThatStopsEndsBothSides()
    {
        Room room;
        QVERIFY(room.ready());
        QSignalSpy openerDone(room.opener.seat.get(), &JoinSeat::finished);
        QSignalSpy joinerDone(room.joiner.seat.get(), &JoinSeat::finished);
        QTRY_COMPARE(caption(room.joiner.window, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QVERIFY(room.playOne());
        room.server->stop(QStringLiteral("Le serveur s'arrête."));
        QTRY_COMPARE(openerDone.size(), 1);
        QTRY_COMPARE(joinerDone.size(), 1);
        QCOMPARE(openerDone.first().first().toInt(), 1);
        QCOMPARE(joinerDone.first().first().toInt(), 1);
        for (const TwoSides::Side* side : {&room.boxes->host, &room.boxes->joiner}) {
            QCOMPARE(side->seen.last(), QStringLiteral("Duel en ligne|Le serveur s'arrête."));
            QVERIFY(side->seen.at(side->seen.size() - 2).contains(QStringLiteral("gagné")));
        }
    }
};

QTEST_MAIN(TestOnline)
#include "test_online.moc"
