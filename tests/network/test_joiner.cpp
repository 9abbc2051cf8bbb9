// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/netplay.h"
#include "wire/codec.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace volcanelle;

namespace {

// The other program played by the test: a socket that speaks the wire format by hand, and
// notes when each ping of the real side came.
class FakePeer : public QObject {
public:
    explicit FakePeer(QTcpSocket* socket) : socket_(socket)
    {
        clock_.start();
        connect(socket_, &QTcpSocket::readyRead, this, [this] {
            reader_.append(socket_->readAll());
            wire::Message m;
            while (reader_.next(m) == wire::FrameReader::Status::Ready)
                if (std::holds_alternative<wire::Ping>(m))
                    pings << clock_.elapsed();
        });
    }
    void send(const wire::Message& m) { socket_->write(wire::encode(m)); }
    /// The longest wait for a ping, counted from when the peer was made; all its life so far
    /// when none came.
    qint64 longestGap() const
    {
        if (pings.isEmpty())
            return clock_.elapsed();
        qint64 gap = 0;
        qint64 last = 0;
        for (const qint64 at : pings) {
            gap = std::max(gap, at - last);
            last = at;
        }
        return gap;
    }

    QList<qint64> pings;

private:
    QTcpSocket* socket_;
    wire::FrameReader reader_;
    QElapsedTimer clock_;
};

// A host that answers the joiner's hello with `answer`.
struct FakeHost {
    explicit FakeHost(const wire::Message& answer)
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, answer] {
            peer = std::make_unique<FakePeer>(server.nextPendingConnection());
            peer->send(answer);
        });
    }
    QTcpServer server;
    std::unique_ptr<FakePeer> peer;
};

} // namespace

// What a joiner meets from the other program, with that program played by the test, and what
// a host meets from a joiner gone quiet. Shipped timings only.
class TestJoiner : public QObject {
    Q_OBJECT
private slots:
    // A host of another version is refused with the reason, whoever notices it first.
    void otherVersionsAreRefused()
    {
        for (const wire::Message& answer :
             {wire::Message(wire::Welcome{1, {}}),
              wire::Message(wire::Refused{wire::Refused::Reason::BadVersion, 1})}) {
            FakeHost host(answer);
            net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), host.server.serverPort(), 4217);
            QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
            QSignalSpy failed(&attempt, &net::JoinAttempt::failed);
            attempt.start();
            QVERIFY(failed.wait(5000));
            QCOMPARE(failed.first().at(0).value<net::JoinAttempt::Failure>(),
                     net::JoinAttempt::Failure::OtherVersion);
            QCOMPARE(failed.first().at(1).toInt(), 1);
            QCOMPARE(joinFailureText(net::JoinAttempt::Failure::OtherVersion, 1, attempt.address()),
                     QStringLiteral("L'autre programme parle une autre version du duel en réseau "
                                    "(version 1, la nôtre : 3)."));
            QTest::qWait(50);
            QCOMPARE(joined.size(), 0);
        }
    }

    // A player who thinks long loses nothing: each side pings well within the time the other
    // bears a silence. A side gone silent is noticed by the other within seconds.
    void silenceIsNoticedAndPingsComeSooner()
    {
        // The joiner's side, against a host that goes quiet once it has welcomed it.
        FakeHost host(wire::Welcome{});
        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), host.server.serverPort(), 4217);
        QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
        attempt.start();
        QVERIFY(joined.wait(5000));
        std::unique_ptr<net::Link> joinerLink(joined.first().first().value<net::Link*>());
        QSignalSpy joinerLost(joinerLink.get(), &net::Link::lost);
        joinerLink->release();
        QElapsedTimer joinerSilence;
        joinerSilence.start();

        // The host's side, against a joiner that goes quiet once it has said hello.
        net::HostGate gate(QStringLiteral("004217"));
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy admitted(&gate, &net::HostGate::joined);
        QTcpSocket quiet;
        quiet.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(quiet.waitForConnected(5000));
        FakePeer joiner(&quiet);
        joiner.send(wire::Hello{wire::kVersion, 4217});
        QVERIFY(admitted.wait(5000));
        std::unique_ptr<net::Link> hostLink(admitted.first().first().value<net::Link*>());
        QSignalSpy hostLost(hostLink.get(), &net::Link::lost);
        hostLink->release();
        QElapsedTimer hostSilence;
        hostSilence.start();

        // Within 10 s: a player left waiting longer believes the game has frozen.
        QTRY_COMPARE_WITH_TIMEOUT(joinerLost.size(), 1, 10000);
        const qint64 joinerNoticed = joinerSilence.elapsed();
        QTRY_COMPARE_WITH_TIMEOUT(hostLost.size(), 1, 10000);
        const qint64 hostNoticed = hostSilence.elapsed();
        QCOMPARE(joinerLost.first().first().value<net::Link::Loss>(), net::Link::Loss::Silent);
        QCOMPARE(hostLost.first().first().value<net::Link::Loss>(), net::Link::Loss::Silent);

        // Twice the longest wait for a ping still fits in the other side's patience, so that
        // one late ping on a busy machine does not end a duel.
        QVERIFY(host.peer);
        const qint64 fromJoiner = host.peer->longestGap();
        const qint64 fromHost = joiner.longestGap();
        QVERIFY2(2 * fromJoiner < hostNoticed,
                 qPrintable(QStringLiteral("joiner pings %1 ms apart, host bears %2 ms")
                                .arg(fromJoiner)
                                .arg(hostNoticed)));
        QVERIFY2(2 * fromHost < joinerNoticed,
                 qPrintable(QStringLiteral("host pings %1 ms apart, joiner bears %2 ms")
                                .arg(fromHost)
                                .arg(joinerNoticed)));
    }
};

QTEST_GUILESS_MAIN(TestJoiner)
#include "test_joiner.moc"
