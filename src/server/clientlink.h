// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/limits.h"
#include "wire/messages.h"

#include <QHostAddress>
#include <QObject>

class QWebSocket;

namespace volcanelle::server {

class Room;

/// One game program's connection to the server: wire messages, one to a WebSocket binary
/// frame. The link ends itself on a garbled frame, a text frame or a reader that leaves
/// too much unread; the server's sweep ends it on silence. Either way `gone` comes once,
/// from the event loop.
class ClientLink : public QObject {
    Q_OBJECT
public:
    ClientLink(QWebSocket* socket, const QHostAddress& address, const ServerLimits& limits,
               QObject* parent = nullptr);
    ~ClientLink() override;

    void send(const wire::Message& message);
    /// Writes what is queued now instead of at the event loop's next turn.
    void flush();
    /// Sends what is queued, then closes; `gone` follows.
    void finish();
    /// Closes at once; `gone` follows.
    void drop();

    const QHostAddress& address() const { return address_; }
    bool open() const { return !ended_; }
    std::int64_t lastHeard() const { return lastHeard_; }
    std::int64_t lastSent() const { return lastSent_; }
    std::int64_t connectedAt() const { return connectedAt_; }

    /// The room and side this link plays, once the server let it in.
    Room* room = nullptr;
    int side = 0;

signals:
    void received(const volcanelle::wire::Message& message);
    void gone();

private:
    void take(const QByteArray& frame);
    void end();

    QWebSocket* socket_;
    QHostAddress address_;
    const ServerLimits& limits_;
    std::int64_t connectedAt_;
    std::int64_t lastHeard_;
    std::int64_t lastSent_;
    bool ended_ = false;
};

} // namespace volcanelle::server
