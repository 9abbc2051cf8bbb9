// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/link.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <chrono>

namespace volcanelle::net {

/// The host's door: lets in one opponent, and only one who gives the right code.
///
/// Each newcomer has 10 seconds to say hello with the code. After five wrong codes every
/// attempt is refused for a minute, so that the code cannot be guessed by trying them all.
/// Once an opponent is in, later newcomers are refused as busy; the duel never hears of
/// them.
class HostGate : public QObject {
    Q_OBJECT
public:
    explicit HostGate(const QString& code, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return server_.errorString(); }
    quint16 port() const { return server_.serverPort(); }

    /// How many wrong codes close the door, and for how long; tests shorten the time.
    void setLockout(int wrongCodes, std::chrono::milliseconds time);
    /// Timings handed to the links it makes (see Link::setTimings); also bounds the hello.
    void setLinkTimings(int pingMs, int silenceMs);

    /// A random six-digit code, zeros kept in front.
    static QString newCode();

signals:
    /// The opponent gave the right code and was welcomed. Emitted once; the receiver takes
    /// the link over and calls Link::release() once it listens to it.
    void joined(volcanelle::net::Link* link);

private:
    void acceptPending();
    void hello(Link* link, const wire::Message& message);
    void refuse(Link* link, wire::Refused::Reason reason);

    QTcpServer server_;
    QString code_;
    int wrongCodes_ = 0;
    int lockAfter_ = 5;
    std::chrono::milliseconds lockTime_{std::chrono::seconds(60)};
    QDeadlineTimer lockedUntil_;
    bool taken_ = false;
    int pending_ = 0;
    int pingMs_ = kPingMs;
    int silenceMs_ = kSilenceMs;
};

} // namespace volcanelle::net
