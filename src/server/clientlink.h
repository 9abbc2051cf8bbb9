// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/limits.h"
#include "wire/messages.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

class QSocketNotifier;

namespace volcanelle::server {

class PageFiles;
class Room;

/// One connection to the server, on its own socket. It begins with an HTTP request head, read
/// within the hello deadline and 8 KiB: a plain request gets its answer from the page's files
/// and the connection closes; a WebSocket upgrade makes it a game program's link, wire
/// messages one to a binary message. The link ends itself on a garbled frame, a text message
/// or a reader that leaves too much unread; the server's sweep ends it on silence. Either way
/// `gone` comes once, from the event loop.
///
/// A connection costs its socket, two small objects and what waits to be read or written:
/// the server holds tens of thousands of them.
class ClientLink : public QObject {
    Q_OBJECT
public:
    /// The longest request head read.
    static constexpr qsizetype kMaxHead = 8 * 1024;

    /// How the connection begins: with an HTTP request, or already a WebSocket (a link the
    /// fuzzer hands the server).
    enum class Start { Request, WebSocket };

    /// Takes `fd`, a connected socket from `address`, and closes it when done.
    ClientLink(int fd, const QHostAddress& address, const ServerLimits& limits,
               const PageFiles& pages, Start start, QObject* parent = nullptr);
    ~ClientLink() override;

    void send(const wire::Message& message);
    /// Writes what is queued now instead of at the event loop's next turn.
    void flush();
    /// Sends what is queued and a close, then closes; `gone` follows.
    void finish();
    /// Closes at once; `gone` follows.
    void drop();

    /// After a clean end (finish, or a page answered), the socket with the bytes it has yet
    /// to send, for a close that lets the other side read them; -1 when the link closes its
    /// socket itself. The link no longer has it after.
    int takeSocket(QByteArray& unsent);

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
    enum class Phase { Request, WebSocket };

    void readable();
    void writable();
    void takeRequest();
    void takeFrames();
    void takeMessage(const QByteArray& body);
    /// Answers a plain request with `answer` and ends cleanly.
    void answer(const QByteArray& answer);
    /// Writes what is queued as far as the socket takes it; false when the socket failed.
    bool write();
    void end(bool clean);

    int fd_;
    QSocketNotifier* reader_;
    QSocketNotifier* writer_;
    const ServerLimits& limits_;
    const PageFiles& pages_;
    QHostAddress address_;
    QByteArray in_;      // read, not yet a whole head or frame
    QByteArray out_;     // queued, not yet taken by the socket
    QByteArray message_; // the pieces of a fragmented message so far
    std::int64_t connectedAt_;
    std::int64_t lastHeard_;
    std::int64_t lastSent_;
    Phase phase_;
    bool fragmented_ = false;
    bool ended_ = false;
    bool clean_ = false; // ended by a finish or a page answered: the socket lingers
};

} // namespace volcanelle::server
