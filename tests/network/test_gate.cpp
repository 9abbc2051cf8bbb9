// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/hostgate.h"
#include "net/joinattempt.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

using namespace volcanelle;
using namespace std::chrono_literals;

namespace {

// Connects, says hello with `code`, and returns the host's first answer; nothing when the
// connection closed without one.
std::optional<wire::Message> knock(quint16 port, quint32 code,
                                   std::uint16_t version = wire::kVersion)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return std::nullopt;
    socket.write(wire::encode(wire::Hello{version, code}));
    wire::FrameReader reader;
    for (int round = 0; round < 100; ++round) {
        wire::Message m;
        if (reader.next(m) == wire::FrameReader::Status::Ready)
            return m;
        QTest::qWait(10);
        reader.append(socket.readAll());
    }
    return std::nullopt;
}

bool refusedFor(const std::optional<wire::Message>& answer, wire::Refused::Reason reason)
{
    const auto* refused = answer ? std::get_if<wire::Refused>(&*answer) : nullptr;
    return refused && refused->reason == reason;
}

} // namespace

class TestGate : public QObject {
    Q_OBJECT
private slots:
    // Five wrong codes close the door, to the right code too, until the lockout is over;
    // once someone is in, everyone else is told the host is busy.
    void onlyTheInvitedGetIn()
    {
        net::HostGate gate(QStringLiteral("000042"));
        gate.setLockout(5, 500ms);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy joined(&gate, &net::HostGate::joined);

        QVERIFY(refusedFor(knock(gate.port(), 42, 2), wire::Refused::Reason::BadVersion));
        for (quint32 wrong = 1; wrong <= 5; ++wrong)
            QVERIFY(refusedFor(knock(gate.port(), 42 + wrong), wire::Refused::Reason::WrongCode));
        QVERIFY(refusedFor(knock(gate.port(), 42), wire::Refused::Reason::LockedOut));
        QCOMPARE(joined.size(), 0);

        QTest::qWait(600);
        const std::optional<wire::Message> welcome = knock(gate.port(), 42);
        QVERIFY(welcome && std::holds_alternative<wire::Welcome>(*welcome));
        QTRY_COMPARE(joined.size(), 1);
        QVERIFY(refusedFor(knock(gate.port(), 42), wire::Refused::Reason::Busy));
        QCOMPARE(joined.size(), 1);
        delete joined.first().first().value<net::Link*>();
    }

    // The host listens on every address, as the program does: a joiner gets in by IPv6, by
    // IPv4 and by name.
    void joinersComeByEveryAddress()
    {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHostIPv6, 9);
        // Refused is fine: the address exists. Anything else means the machine has no ::1.
        if (!probe.waitForConnected(1000) &&
            probe.error() != QAbstractSocket::ConnectionRefusedError)
            QSKIP("no IPv6 loopback on this machine");
        for (const char* host : {"::1", "127.0.0.1", "localhost"}) {
            net::HostGate gate(QStringLiteral("000042"));
            QVERIFY(gate.listen(QHostAddress::Any, 0));
            QSignalSpy welcomed(&gate, &net::HostGate::joined);
            net::JoinAttempt attempt(QString::fromLatin1(host), gate.port(), 42);
            QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
            QSignalSpy failed(&attempt, &net::JoinAttempt::failed);
            attempt.start();
            QTRY_VERIFY2(joined.size() + failed.size() == 1, host);
            QVERIFY2(failed.isEmpty(), host);
            delete joined.first().first().value<net::Link*>();
            // The host's side of the link is the receiver's to delete, as the program does.
            QTRY_COMPARE(welcomed.size(), 1);
            delete welcomed.first().first().value<net::Link*>();
        }
    }

    // A newcomer that says nothing, or says something other than hello, is let go.
    void strangersAreLetGo()
    {
        net::HostGate gate(QStringLiteral("000042"));
        gate.setLinkTimings(50, 200);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QTcpSocket mute;
        mute.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(mute.waitForConnected(5000));
        QTcpSocket rude;
        rude.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(rude.waitForConnected(5000));
        rude.write(QByteArray::fromHex("ffffffff01"));
        QTRY_COMPARE(rude.state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(mute.state(), QAbstractSocket::UnconnectedState);
    }
};

QTEST_GUILESS_MAIN(TestGate)
#include "test_gate.moc"
