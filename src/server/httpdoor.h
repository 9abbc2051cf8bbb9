// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace volcanelle::server {

class PageFiles;

/// The first bytes of a connection on the server's one port: an HTTP request head, read
/// without taking it from the socket, within a deadline and a size. A head that asks for a
/// WebSocket hands the socket on untouched (`webSocket`); any other gets its answer from the
/// page's files and the connection closes. A head too slow, too long or garbled ends it.
class HttpDoor : public QObject {
    Q_OBJECT
public:
    /// The longest request head read.
    static constexpr qsizetype kMaxHead = 8 * 1024;

    /// The door belongs to `socket` and goes with it.
    HttpDoor(QTcpSocket* socket, const PageFiles& files, int deadlineMs);

signals:
    /// The socket, its head still unread, for the WebSocket server; the door is gone after.
    void webSocket(QTcpSocket* socket);

private:
    void look();
    void answer(const QByteArray& response);

    QTcpSocket* socket_;
    const PageFiles& files_;
    QTimer deadline_;
    bool answered_ = false;
};

} // namespace volcanelle::server
