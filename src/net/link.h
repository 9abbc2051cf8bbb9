// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/codec.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <optional>

class QTcpSocket;
class QWebSocket;

namespace volcanelle::net {

/// How often each side pings, and how long a silence it bears before taking the connection
/// as lost: a few pings may be late or lost before a living connection is given up.
inline constexpr int kPingMs = 2000;
inline constexpr int kSilenceMs = 6000;
/// How long a duel waits for a side whose connection was lost to come back before it ends:
/// a short outage of the network is not the end of a duel.
inline constexpr int kAwayMs = 30000;

/// One connection between the two programs of a network duel, carrying whole messages.
///
/// Both sides ping every few seconds; a connection that stays silent longer than the
/// silence limit is taken as lost, so a pulled cable is noticed as surely as a closed
/// program. The first fault ends the link: it sends nothing more, hands on the messages that
/// came before the fault, then reports `lost` once. Messages are handed on from the event
/// loop, never from inside the socket's own signal, so a receiver may open a modal box.
class Link : public QObject {
    Q_OBJECT
public:
    enum class Loss {
        Closed,  ///< the other side closed the connection or its program ended
        Silent,  ///< nothing came for longer than the silence limit
        Garbled, ///< a frame the reader refused
        Flooded, ///< more messages than a duel could ever need (see Inbox)
    };

    /// Takes over `socket`, which must be connected.
    explicit Link(QTcpSocket* socket, QObject* parent = nullptr);
    /// The same over a WebSocket to a duel server: one message to a binary frame, without
    /// the length prefix. Takes over `socket`, which must be connected.
    explicit Link(QWebSocket* socket, QObject* parent = nullptr);

    /// How often to ping, and how long a silence is borne. The defaults notice a loss
    /// within 6 seconds; tests shorten them.
    void setTimings(int pingMs, int silenceMs);

    /// Keeps what arrives from now on unread, until release(): a link changing hands loses
    /// nothing between its old owner and its new one.
    void hold() { held_ = true; }
    /// Delivers what was held, from the event loop, then everything as it comes.
    void release();

    void send(const wire::Message& message);
    /// Sends what is still queued, waiting at most `waitMs`, then closes without reporting.
    void close(int waitMs = 1000);
    bool isOpen() const { return open_ && !ended_; }
    QString peer() const;

signals:
    void received(const volcanelle::wire::Message& message);
    void lost(volcanelle::net::Link::Loss loss);

private:
    void readAvailable();
    /// Reads the whole frames that came; a refused one ends the link after those before it.
    void take();
    /// Hands on what was read, in order, then the loss if there is one.
    void deliver();
    void fail(Loss loss);
    /// What both constructors share once the socket is set.
    void setUp(bool connected);
    /// One WebSocket frame: a message, or a fault.
    void takeFrame(const QByteArray& frame);
    void abortSocket();

    QTcpSocket* socket_ = nullptr;
    QWebSocket* webSocket_ = nullptr;
    wire::FrameReader reader_;
    std::deque<wire::Message> pending_;
    std::optional<Loss> loss_;
    QTimer ping_;
    QTimer silence_;
    bool open_ = true;   // the socket is still in use
    bool ended_ = false; // lost was reported, or the owner closed the link
    bool held_ = false;
};

} // namespace volcanelle::net
