// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/link.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <chrono>

namespace volcanelle::net {

/// The host's door: lets in one opponent, and only one who gives the right code.
///
/// Each newcomer has 3 seconds to say hello with the code. After five wrong codes from one
/// address every attempt from there is refused for a minute, so that the code cannot be
/// guessed by trying them all. Everything is counted per address (an IPv4 address, an IPv6
/// /64 network): a stranger elsewhere neither holds the door shut nor locks the invited
/// player out. Once an opponent is in, later newcomers are refused as busy; the duel never
/// hears of them. Only the opponent may come in again, on a new connection, by showing the
/// token it was given in its welcome, as long as the duel takes comebacks.
class HostGate : public QObject {
    Q_OBJECT
public:
    explicit HostGate(const QString& code, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return server_.errorString(); }
    quint16 port() const { return server_.serverPort(); }

    /// How many wrong codes from one address close the door to it, and for how long; tests
    /// shorten the time.
    void setLockout(int wrongCodes, std::chrono::milliseconds time);
    /// Timings handed to the links it makes (see Link::setTimings); also bounds the hello.
    void setLinkTimings(int pingMs, int silenceMs);

    /// A random six-digit code, zeros kept in front.
    static QString newCode();

    /// The opponent's comebacks are no longer taken: the duel is over.
    void closeComebacks() { comebacks_ = false; }

signals:
    /// The opponent gave the right code and was welcomed. Emitted once; the receiver takes
    /// the link over and calls Link::release() once it listens to it.
    void joined(volcanelle::net::Link* link);
    /// The opponent came back with its token, having received `boxesSeen` boxes so far; the
    /// receiver takes the new link over as with `joined`.
    void cameBack(volcanelle::net::Link* link, quint32 boxesSeen);

private:
    /// What the gate remembers of one address.
    struct Visitor {
        int pending = 0;    // newcomers still to say hello
        int wrongCodes = 0; // counted until forgetWrong
        QDeadlineTimer forgetWrong;
        QDeadlineTimer lockedUntil;
    };

    void acceptPending();
    void hello(Link* link, const QByteArray& from, const wire::Message& message);
    /// The newcomer from `from` said hello or left: its waiting slot is free.
    void leave(const QByteArray& from);
    /// The answer to a Rejoin from `visitor`.
    void rejoin(Link* link, Visitor& visitor, const wire::Rejoin& rejoin);
    void wrongCode(Visitor& visitor);
    void refuse(Link* link, wire::Refused::Reason reason);

    QTcpServer server_;
    QString code_;
    int lockAfter_ = 5;
    std::chrono::milliseconds lockTime_{std::chrono::seconds(60)};
    QHash<QByteArray, Visitor> visitors_;
    QByteArray token_;
    bool taken_ = false;
    bool comebacks_ = true;
    int pending_ = 0;
    int pingMs_ = kPingMs;
    int silenceMs_ = kSilenceMs;
};

} // namespace volcanelle::net
