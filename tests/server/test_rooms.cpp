// SPDX-License-Identifier: GPL-3.0-or-later
// Rooms on the duel server: codes as players type them, opening, joining, coming back,
// expiry, and the server's stop.
#include "clientpair.h"
#include "net/roomcode.h"
#include "scriptduel.h"
#include "server/duelserver.h"
#include "servertestmain.h"
#include "testclient.h"

#include <QSignalSpy>
#include <QTest>
#include <set>

using namespace volcanelle;
using namespace volcanelle::server;

class TestRooms : public QObject {
    Q_OBJECT
private slots:
    void codesReadAsTyped()
    {
        QCOMPARE(net::roomCodeText(0), QStringLiteral("2222-2222"));
        QCOMPARE(net::roomCodeText(wire::kRoomCodeLimit - 1), QStringLiteral("ZZZZ-ZZZZ"));
        QCOMPARE(net::readRoomCode(QStringLiteral("  7kq3-m9xa ")),
                 net::readRoomCode(QStringLiteral("7KQ3M9XA")));
        QVERIFY(net::readRoomCode(QStringLiteral("7KQ3-M9XA")));
        // Look-alikes are not in the alphabet, nor is anything but eight characters.
        for (const char* bad : {"7KQ0-M9XA", "7KQO-M9XA", "7KQ1-M9XA", "7KQI-M9XA", "7KQ3-M9X",
                                "7KQ3--M9XA", "7KQ3-M9XAB", "", "7KQ3 M9XA", "7KQ3-M9XÀ"})
            QVERIFY2(!net::readRoomCode(QString::fromUtf8(bad)), bad);
        std::set<std::uint64_t> drawn;
        for (int i = 0; i < 200; ++i) {
            const std::uint64_t code = net::drawRoomCode();
            QVERIFY(code < wire::kRoomCodeLimit);
            QCOMPARE(net::readRoomCode(net::roomCodeText(code)), code);
            drawn.insert(code);
        }
        QCOMPARE(drawn.size(), std::size_t{200});
    }

    // The opener is player 1, the joiner player 2; the duel starts once both are in, hears
    // each side as itself, and its words reach the side they are for.
    void openAndJoin()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        Pair pair(server.port());
        QVERIFY(pair.enter());
        QCOMPARE(pair.opener.first<wire::Entered>()->side, 1);
        QCOMPARE(pair.joiner.first<wire::Entered>()->side, 2);
        QVERIFY(pair.opener.first<wire::Entered>()->token !=
                pair.joiner.first<wire::Entered>()->token);
        QCOMPARE(record.started, 1);

        pair.joiner.send(wire::Click{42});
        QVERIFY(pair.opener.wait<wire::Cell>());
        QCOMPARE(pair.opener.first<wire::Cell>()->index, 42);
        QCOMPARE(record.received.at(0).first, 2);

        // A second joiner finds the room taken; a second Enter from a side is a fault.
        TestClient third(server.port());
        QVERIFY(third.waitOpen());
        third.send(wire::Enter{wire::Enter::Action::Join, wire::kVersion, pair.code, {}});
        QVERIFY(third.wait<wire::Refused>());
        QCOMPARE(third.first<wire::Refused>()->reason, wire::Refused::Reason::Busy);
        pair.opener.send(wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}});
        QVERIFY(pair.opener.waitClosed());
        QVERIFY(pair.joiner.wait<wire::Opponent>());
        QCOMPARE(pair.joiner.first<wire::Opponent>()->present, false);
    }

    // A side that lost its connection comes back with its token, on the same side, and the
    // other side hears it left and came back; a wrong token is no way in.
    void comeBackWithTheToken()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        Pair pair(server.port());
        QVERIFY(pair.enter());
        const QByteArray token = pair.joiner.first<wire::Entered>()->token;
        pair.joiner.socket.abort();
        QVERIFY(pair.opener.wait<wire::Opponent>());
        QCOMPARE(pair.opener.first<wire::Opponent>()->present, false);

        TestClient stranger(server.port());
        QVERIFY(stranger.waitOpen());
        QByteArray guess = token;
        guess[0] = static_cast<char>(guess[0] ^ 1);
        stranger.send(wire::Enter{wire::Enter::Action::Resume, wire::kVersion, pair.code, guess});
        QVERIFY(stranger.wait<wire::Refused>());
        QCOMPARE(stranger.first<wire::Refused>()->reason, wire::Refused::Reason::NoSuchRoom);

        TestClient back(server.port());
        QVERIFY(back.waitOpen());
        pair.opener.got.clear();
        back.send(wire::Enter{wire::Enter::Action::Resume, wire::kVersion, pair.code, token});
        QVERIFY(back.wait<wire::Entered>());
        QCOMPARE(back.first<wire::Entered>()->side, 2);
        QCOMPARE(record.replayed, std::vector<int>{2});
        QVERIFY(pair.opener.wait<wire::Opponent>());
        QCOMPARE(pair.opener.first<wire::Opponent>()->present, true);
        // The side that comes back hears that the other is there: it may have missed the
        // other's own comeback while it was away, and would wait for it for ever.
        QVERIFY(back.wait<wire::Opponent>());
        QCOMPARE(back.first<wire::Opponent>()->present, true);
        back.send(wire::Click{7});
        QVERIFY(back.wait<wire::Cell>());
        QCOMPARE(record.received.back().first, 2);
    }

    // Past its time, a side that did not come back loses the duel as with "Quitter": the
    // other side gets the verdict and the room closes. A room nobody joined closes too.
    void roomsEndOnTheirDeadlines()
    {
        ScriptDuel::Record record;
        ServerLimits limits;
        limits.awayMs = 300;
        limits.unjoinedRoomMs = 600;
        DuelServer server(limits, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        Pair pair(server.port());
        QVERIFY(pair.enter());
        TestClient lonely(server.port());
        QVERIFY(lonely.waitOpen());
        lonely.send(wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}});
        QVERIFY(lonely.wait<wire::Entered>());

        pair.joiner.socket.abort();
        QVERIFY(pair.opener.wait<wire::Announce>());
        QCOMPARE(pair.opener.first<wire::Announce>()->text, QStringLiteral("verdict"));
        QCOMPARE(record.stopped, 1);
        QVERIFY(pair.opener.waitClosed());

        QVERIFY(lonely.wait<wire::Farewell>());
        QCOMPARE(lonely.first<wire::Farewell>()->text,
                 QStringLiteral("Personne n'a rejoint la salle en dix minutes : elle est fermée."));
        QVERIFY(lonely.waitClosed());
        QTRY_COMPARE(server.roomCount(), 0);
    }

    // Stopping gives each duel its verdict, then tells both sides, then closes them all.
    void stopTellsEverySide()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        Pair pair(server.port());
        QVERIFY(pair.enter());
        QSignalSpy stopped(&server, &DuelServer::stopped);
        server.stop(QStringLiteral("Le serveur s'arrête."));
        for (TestClient* side : {&pair.opener, &pair.joiner}) {
            QVERIFY(side->waitClosed());
            std::vector<QString> told;
            for (const wire::Message& m : side->got)
                if (const auto* a = std::get_if<wire::Announce>(&m))
                    told.push_back(a->text);
                else if (const auto* f = std::get_if<wire::Farewell>(&m))
                    told.push_back(f->text);
            QCOMPARE(told, (std::vector<QString>{QStringLiteral("verdict"),
                                                 QStringLiteral("Le serveur s'arrête.")}));
            QVERIFY(std::holds_alternative<wire::Bye>(side->got.back()));
        }
        QTRY_COMPARE(stopped.count(), 1);
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestRooms)
#include "test_rooms.moc"
