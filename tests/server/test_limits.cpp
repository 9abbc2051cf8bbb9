// SPDX-License-Identifier: GPL-3.0-or-later
// What the duel server bears from a hostile client: connections, rooms and wrong codes per
// address, frames it does not speak, silence, and readers that read nothing.
#include "scriptduel.h"
#include "server/addressguard.h"
#include "server/duelserver.h"
#include "servercheck.h"
#include "servertestmain.h"
#include "testclient.h"
#include "wire/codec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace volcanelle;
using namespace volcanelle::server;

namespace {

const wire::Enter kOpen{wire::Enter::Action::Open, wire::kVersion, 0, {}};

wire::Enter join(std::uint64_t code)
{
    return {wire::Enter::Action::Join, wire::kVersion, code, {}};
}

// A client that speaks WebSocket by hand; once `upgraded`, after the server's answer to its
// handshake, it reads nothing more it is sent.
std::unique_ptr<QTcpSocket> rawClient(quint16 port, bool upgraded)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    // The server runs in this thread: wait with the event loop, never blocking.
    for (int i = 0; i < 500 && socket->state() != QAbstractSocket::ConnectedState; ++i)
        QTest::qWait(10);
    socket->write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                  "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                  "Sec-WebSocket-Version: 13\r\n\r\n");
    if (!upgraded)
        return socket;
    QByteArray answer;
    for (int i = 0; i < 500 && !answer.contains("\r\n\r\n"); ++i) {
        QTest::qWait(10);
        answer += socket->readAll();
    }
    if (!answer.startsWith("HTTP/1.1 101"))
        return nullptr;
    socket->setReadBufferSize(1);
    return socket;
}

// One masked binary frame; a zero mask leaves the body as it is.
QByteArray clientFrame(const QByteArray& body)
{
    return QByteArray("\x82", 1) + static_cast<char>(0x80 | body.size()) + QByteArray(4, '\0') +
           body;
}

} // namespace

class TestLimits : public QObject {
    Q_OBJECT
private slots:
    void guardCountsPerAddress()
    {
        ServerLimits limits;
        AddressGuard guard(limits);
        const QHostAddress a(QStringLiteral("192.0.2.7"));
        const QHostAddress sameByIPv6(QStringLiteral("::ffff:192.0.2.7"));
        const QHostAddress other(QStringLiteral("2001:db8::1"));
        for (int i = 0; i < 32; ++i)
            QVERIFY(guard.admit(i % 2 ? a : sameByIPv6));
        QVERIFY(!guard.admit(a));
        QVERIFY(guard.admit(other));
        guard.release(a);
        QVERIFY(guard.admit(sameByIPv6));

        for (int i = 0; i < 10; ++i)
            QVERIFY(guard.mayOpenRoom(a, 1000 + i));
        QVERIFY(!guard.mayOpenRoom(a, 60'999));
        QVERIFY(guard.mayOpenRoom(a, 61'000)); // the first one is a minute old

        for (int i = 0; i < 19; ++i)
            guard.wrongCode(other, i * 100);
        QVERIFY(!guard.lockedOut(other, 2000));
        guard.wrongCode(other, 2000);
        QVERIFY(guard.lockedOut(other, 2000));
        QVERIFY(guard.lockedOut(other, 61'999));
        QVERIFY(!guard.lockedOut(other, 62'000));
        QVERIFY(!guard.lockedOut(a, 2000));
        // One IPv6 network is one visitor, whatever its last 64 bits; the next network is not.
        QVERIFY(guard.lockedOut(QHostAddress(QStringLiteral("2001:db8::ffff:2")), 2000));
        QVERIFY(!guard.lockedOut(QHostAddress(QStringLiteral("2001:db8:0:1::1")), 2000));

        // Nothing kept of an address once its connections closed and its minute passed.
        for (int i = 0; i < 32; ++i) {
            guard.release(a);
            guard.release(other);
        }
        guard.forget(200'000);
        QCOMPARE(guard.remembered(), 0);
    }

    void wrongCodesThenRefusal()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        TestClient opener(server.port());
        QVERIFY(opener.waitOpen());
        opener.send(kOpen);
        QVERIFY(opener.wait<wire::Entered>());
        const std::uint64_t code = opener.first<wire::Entered>()->room;
        for (int i = 1; i <= 20; ++i) {
            TestClient guesser(server.port());
            QVERIFY(guesser.waitOpen());
            guesser.send(join((code + static_cast<std::uint64_t>(i)) % wire::kRoomCodeLimit));
            QVERIFY(guesser.wait<wire::Refused>());
            QCOMPARE(guesser.first<wire::Refused>()->reason, wire::Refused::Reason::NoSuchRoom);
            QVERIFY(guesser.waitClosed());
        }
        TestClient right(server.port());
        QVERIFY(right.waitOpen());
        right.send(join(code));
        QVERIFY(right.wait<wire::Refused>());
        QCOMPARE(right.first<wire::Refused>()->reason, wire::Refused::Reason::LockedOut);
        QCOMPARE(record.started, 0);
    }

    void roomsAndConnectionsPerAddress()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        std::vector<std::unique_ptr<TestClient>> clients;
        for (int i = 0; i < 32; ++i) {
            clients.push_back(std::make_unique<TestClient>(server.port()));
            QVERIFY(clients.back()->waitOpen());
        }
        TestClient extra(server.port());
        QVERIFY(!extra.waitOpen());

        for (int i = 0; i < 11; ++i)
            clients[static_cast<std::size_t>(i)]->send(kOpen);
        QVERIFY(clients[10]->wait<wire::Refused>());
        QCOMPARE(clients[10]->first<wire::Refused>()->reason, wire::Refused::Reason::Busy);
        for (int i = 0; i < 10; ++i)
            QVERIFY(clients[static_cast<std::size_t>(i)]->wait<wire::Entered>());
        QCOMPARE(server.roomCount(), 10);

        // Closed connections no longer count.
        clients.clear();
        QTRY_COMPARE(server.linkCount(), 0);
        TestClient again(server.port());
        QVERIFY(again.waitOpen());
    }

    // When a proxy restarts, every side comes back at once: the system takes all their
    // connections at once, and none waits a second to try again.
    void burstOfConnectionsTakenAtOnce()
    {
        ScriptDuel::Record record;
        ServerLimits limits;
        limits.connectionsPerAddress = 1000;
        DuelServer server(limits, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(server.port());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // All of them before the server's thread accepts any.
        std::vector<pollfd> burst(300);
        for (pollfd& p : burst) {
            p.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            p.events = POLLOUT;
            ::connect(p.fd, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        }
        // A connection the system dropped is tried again only after a second.
        QElapsedTimer waited;
        waited.start();
        int connected = 0;
        while (connected < static_cast<int>(burst.size()) && waited.elapsed() < 300) {
            ::usleep(10'000);
            ::poll(burst.data(), burst.size(), 0);
            connected = 0;
            for (const pollfd& p : burst)
                connected += (p.revents & POLLOUT) ? 1 : 0;
        }
        for (const pollfd& p : burst)
            ::close(p.fd);
        QCOMPARE(connected, static_cast<int>(burst.size()));
    }

    // A text frame, a frame the reader refuses, a hello that never comes, a connection that
    // falls silent, a handshake left half-done: each is let go.
    void strangersAreLetGo()
    {
        ScriptDuel::Record record;
        ServerLimits limits;
        limits.helloMs = 500;
        limits.silenceMs = 700;
        DuelServer server(limits, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));

        TestClient text(server.port()), garbled(server.port()), mute(server.port()),
            silent(server.port());
        for (TestClient* c : {&text, &garbled, &mute, &silent})
            QVERIFY(c->waitOpen());
        text.socket.sendTextMessage(QStringLiteral("bonjour"));
        garbled.sendRaw(QByteArray("\x06\xe1", 2));
        silent.send(kOpen);
        QVERIFY(silent.wait<wire::Entered>());
        auto halfDone = rawClient(server.port(), true);
        QVERIFY(halfDone);
        halfDone->setReadBufferSize(0);
        halfDone->write("\x82"); // a frame begun and never finished
        auto noHandshake = rawClient(server.port(), false);
        QVERIFY(noHandshake);
        for (TestClient* c : {&text, &garbled, &mute, &silent})
            QVERIFY(c->waitClosed());
        QTRY_COMPARE(halfDone->state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(noHandshake->state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(server.linkCount(), 0);
    }

    // A reader that leaves more than 256 KiB unread is dropped, and the other side hears
    // its opponent is away.
    void slowReaderIsDropped()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        TestClient opener(server.port());
        QVERIFY(opener.waitOpen());
        opener.send(kOpen);
        QVERIFY(opener.wait<wire::Entered>());
        auto reader = rawClient(server.port(), true);
        QVERIFY(reader);
        const QByteArray enter = wire::encode(join(opener.first<wire::Entered>()->room)).mid(4);
        reader->write(clientFrame(enter));
        QTRY_COMPARE(record.started, 1);
        opener.send(wire::Count{true, QStringLiteral("flood")});
        QVERIFY(opener.wait<wire::Opponent>());
        QCOMPARE(opener.first<wire::Opponent>()->present, false);
    }

    // The fuzzer's seeds, replayed: the server holds together whatever its links say.
    void corpusReplays()
    {
        const QDir corpus(QStringLiteral(VOLCANELLE_SERVER_CORPUS));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(names.size() >= 5);
        for (const QString& name : names) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QString fault =
                checks::checkServerBytes(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size()));
            QVERIFY2(fault.isEmpty(), qPrintable(name + QStringLiteral(": ") + fault));
        }
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestLimits)
#include "test_limits.moc"
