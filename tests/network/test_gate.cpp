// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/hostgate.h"
#include "net/joinattempt.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace volcanelle;
using namespace std::chrono_literals;

namespace {

// Connects, says hello with `code`, and returns the host's first answer; nothing when the
// connection closed without one.
std::optional<wire::Message> answerTo(QTcpSocket& socket)
{
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

// A connection from `from`, one of the loopback addresses (127.0.0.1, 127.0.0.2…), so that
// one machine plays several.
bool connectFrom(QTcpSocket& socket, quint16 port, const char* from = "127.0.0.1")
{
    if (!socket.bind(QHostAddress(QString::fromLatin1(from))))
        return false;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(5000);
}

std::optional<wire::Message> knock(quint16 port, quint32 code,
                                   std::uint16_t version = wire::kVersion,
                                   const char* from = "127.0.0.1")
{
    QTcpSocket socket;
    if (!connectFrom(socket, port, from))
        return std::nullopt;
    socket.write(wire::encode(wire::Hello{version, code}));
    return answerTo(socket);
}

std::optional<wire::Message> comeBack(quint16 port, const QByteArray& token, const char* from,
                                      std::uint16_t version = wire::kVersion)
{
    QTcpSocket socket;
    if (!connectFrom(socket, port, from))
        return std::nullopt;
    socket.write(wire::encode(wire::Rejoin{version, token, 7}));
    return answerTo(socket);
}

bool welcomed(const std::optional<wire::Message>& answer)
{
    return answer && std::holds_alternative<wire::Welcome>(*answer);
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

        // A joiner of the first version, whose welcome had no token, is told why.
        QVERIFY(refusedFor(knock(gate.port(), 42, 1), wire::Refused::Reason::BadVersion));
        for (quint32 wrong = 1; wrong <= 5; ++wrong)
            QVERIFY(refusedFor(knock(gate.port(), 42 + wrong), wire::Refused::Reason::WrongCode));
        QVERIFY(refusedFor(knock(gate.port(), 42), wire::Refused::Reason::LockedOut));
        QCOMPARE(joined.size(), 0);

        QTest::qWait(600);
        QVERIFY(welcomed(knock(gate.port(), 42)));
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

    // As shipped: five wrong codes from one address, then a minute of lockout for that
    // address alone; the invited player at another address still gets in.
    void guessesLockOutOnlyTheirAddress()
    {
        net::HostGate gate(QStringLiteral("000042"));
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy joined(&gate, &net::HostGate::joined);
        for (quint32 wrong = 1; wrong <= 5; ++wrong) {
            QVERIFY2(refusedFor(knock(gate.port(), 42 + wrong, wire::kVersion, "127.0.0.2"),
                                wire::Refused::Reason::WrongCode),
                     qPrintable(QString::number(wrong)));
        }
        QVERIFY(refusedFor(knock(gate.port(), 48, wire::kVersion, "127.0.0.2"),
                           wire::Refused::Reason::LockedOut));
        QVERIFY(refusedFor(knock(gate.port(), 42, wire::kVersion, "127.0.0.2"),
                           wire::Refused::Reason::LockedOut));
        QVERIFY(welcomed(knock(gate.port(), 42, wire::kVersion, "127.0.0.3")));
        QTRY_COMPARE(joined.size(), 1);
        delete joined.first().first().value<net::Link*>();
    }

    // Many newcomers from one address that never say hello, half of them pinging to seem
    // alive, keep neither the invited player at another address out nor the door open for
    // themselves: each is cut off within a few seconds.
    void idleNewcomersHoldNoDoor()
    {
        net::HostGate gate(QStringLiteral("000042"));
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy joined(&gate, &net::HostGate::joined);
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < 80; ++i) {
            // Not waited for one by one: the host accepts them from its event loop, a batch
            // at a time so that its system's backlog takes them all.
            idle.push_back(std::make_unique<QTcpSocket>());
            QVERIFY(idle.back()->bind(QHostAddress(QStringLiteral("127.0.0.2"))));
            idle.back()->connectToHost(QHostAddress::LocalHost, gate.port());
            if (i % 20 == 19)
                QTest::qWait(100);
        }
        QTimer pinger;
        QObject::connect(&pinger, &QTimer::timeout, [&idle] {
            for (std::size_t i = 0; i < idle.size(); i += 2)
                idle[i]->write(wire::encode(wire::Ping{}));
        });
        pinger.start(100);
        QTest::qWait(300);

        QVERIFY(welcomed(knock(gate.port(), 42, wire::kVersion, "127.0.0.3")));
        QTRY_COMPARE(joined.size(), 1);
        delete joined.first().first().value<net::Link*>();
        for (const auto& socket : idle)
            QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QAbstractSocket::UnconnectedState, 5000);
    }

    // Only the opponent's own token brings it back, from wherever it now is, and only while
    // the duel takes comebacks; a wrong token counts as a wrong code and locks out its
    // address, not the opponent's.
    void onlyTheTokenBringsTheOpponentBack()
    {
        net::HostGate gate(QStringLiteral("000042"));
        gate.setLockout(2, 60s);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy joined(&gate, &net::HostGate::joined);
        QSignalSpy back(&gate, &net::HostGate::cameBack);
        const QByteArray guess(wire::kTokenSize, 'x');
        QVERIFY(refusedFor(comeBack(gate.port(), guess, "127.0.0.4"),
                           wire::Refused::Reason::WrongCode));

        const std::optional<wire::Message> welcome = knock(gate.port(), 42);
        QVERIFY(welcomed(welcome));
        const QByteArray token = std::get<wire::Welcome>(*welcome).token;
        QCOMPARE(token.size(), 16);
        QByteArray wrong = token;
        wrong[15] = static_cast<char>(wrong[15] ^ 1);
        QVERIFY(refusedFor(comeBack(gate.port(), wrong, "127.0.0.2"),
                           wire::Refused::Reason::WrongCode));
        QVERIFY(refusedFor(comeBack(gate.port(), token, "127.0.0.2", 1),
                           wire::Refused::Reason::BadVersion));
        QVERIFY(refusedFor(comeBack(gate.port(), wrong, "127.0.0.2"),
                           wire::Refused::Reason::WrongCode));
        QVERIFY(refusedFor(comeBack(gate.port(), token, "127.0.0.2"),
                           wire::Refused::Reason::LockedOut));
        QCOMPARE(back.size(), 0);

        const std::optional<wire::Message> again = comeBack(gate.port(), token, "127.0.0.3");
        QVERIFY(welcomed(again));
        QCOMPARE(std::get<wire::Welcome>(*again).token, token);
        QTRY_COMPARE(back.size(), 1);
        QCOMPARE(back.first().at(1).toUInt(), 7u);
        delete back.first().first().value<net::Link*>();

        gate.closeComebacks();
        QVERIFY(refusedFor(comeBack(gate.port(), token, "127.0.0.3"),
                           wire::Refused::Reason::WrongCode));
        QCOMPARE(back.size(), 1);
        QTRY_COMPARE(joined.size(), 1);
        delete joined.first().first().value<net::Link*>();
    }

    // Two newcomers that connected together and then both gave the right code: one is the
    // opponent, the other is told the host is busy.
    void oneOfTwoRacingJoinersGetsIn()
    {
        net::HostGate gate(QStringLiteral("000042"));
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        QSignalSpy joined(&gate, &net::HostGate::joined);
        QTcpSocket first;
        QTcpSocket second;
        QVERIFY(connectFrom(first, gate.port(), "127.0.0.2"));
        QVERIFY(connectFrom(second, gate.port(), "127.0.0.3"));
        QTest::qWait(100);
        first.write(wire::encode(wire::Hello{wire::kVersion, 42}));
        second.write(wire::encode(wire::Hello{wire::kVersion, 42}));
        const std::optional<wire::Message> answers[] = {answerTo(first), answerTo(second)};
        QCOMPARE(int(welcomed(answers[0])) + int(welcomed(answers[1])), 1);
        QVERIFY(refusedFor(answers[0], wire::Refused::Reason::Busy) ||
                refusedFor(answers[1], wire::Refused::Reason::Busy));
        QTRY_COMPARE(joined.size(), 1);
        QTest::qWait(100);
        QCOMPARE(joined.size(), 1);
        delete joined.first().first().value<net::Link*>();
    }
};

QTEST_GUILESS_MAIN(TestGate)
#include "test_gate.moc"
