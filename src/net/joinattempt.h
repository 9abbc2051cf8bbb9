// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/link.h"

#include <QObject>
#include <QTimer>
#include <QUrl>

class QTcpSocket;
class QWebSocket;

namespace volcanelle::net {

/// The joiner's way in: connects to the host, gives the code and waits to be welcomed, all
/// within 10 seconds. Ends with either `joined` or `failed`, never both, and only once. The
/// same way serves to come back to a duel with the token of the first welcome (rejoin()),
/// and to enter a room of a duel server, which holds the duel for both sides.
class JoinAttempt : public QObject {
    Q_OBJECT
public:
    /// Why the joiner was not let in; the front end says it to the player.
    enum class Failure { Unreachable, WrongCode, HostBusy, LockedOut, OtherVersion, Garbled };
    Q_ENUM(Failure)

    JoinAttempt(const QString& host, quint16 port, quint32 code, QObject* parent = nullptr);
    /// Enters a room of the duel server at `server`, a ws:// or wss:// address: opens one,
    /// joins one by its code, or comes back to one with its token, as `enter` asks.
    JoinAttempt(const QUrl& server, const wire::Enter& enter, QObject* parent = nullptr);

    /// Comes back to the duel instead of joining it: shows `token` rather than the code.
    void rejoin(const QByteArray& token, quint32 boxesSeen);
    void start();
    /// The time allowed to connect and be welcomed; tests shorten it.
    void setTimeout(int ms) { timeout_.setInterval(ms); }
    /// The host's address as the player would write it: "host:port", "[::1]:port".
    QString address() const;
    /// Once joined: the token with which to come back, empty when the host gave none.
    QByteArray token() const { return token_; }
    /// Once in a duel server's room: its code, and the side this program plays there.
    std::uint64_t room() const { return enter_.room; }
    int side() const { return side_; }

signals:
    /// Welcomed by a host of the same version; the receiver takes the link over and calls
    /// Link::release() once it listens to it.
    void joined(volcanelle::net::Link* link);
    /// Not let in, for `reason`; with OtherVersion, `theirVersion` is the host's.
    void failed(volcanelle::net::JoinAttempt::Failure reason, int theirVersion);

private:
    void connected();
    void listen();
    void answer(const wire::Message& message);
    /// The server's answer to Enter.
    void entered(const wire::Entered& entered);
    void refused(const wire::Refused& refused);
    void fail(Failure reason, int theirVersion = 0);

    QString host_;
    quint16 port_;
    quint32 code_;
    QByteArray token_;
    quint32 boxesSeen_ = 0;
    bool rejoining_ = false;
    QUrl server_; // set for a duel server
    wire::Enter enter_;
    int side_ = 0;
    QTcpSocket* socket_ = nullptr;
    QWebSocket* webSocket_ = nullptr;
    Link* link_ = nullptr;
    QTimer timeout_;
    bool done_ = false;
};

} // namespace volcanelle::net
