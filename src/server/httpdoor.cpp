// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/httpdoor.h"

#include "server/httphead.h"
#include "server/pagefiles.h"

#include <QTcpSocket>

namespace volcanelle::server {

HttpDoor::HttpDoor(QTcpSocket* socket, const PageFiles& files, int deadlineMs)
    : QObject(socket), socket_(socket), files_(files)
{
    // A plain request's socket is the door's to end; an upgraded one the WebSocket server's.
    connect(socket_, &QTcpSocket::readyRead, this, &HttpDoor::look);
    connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
    // The head and, for a page file, the answer's delivery share one deadline: a client that
    // sends or reads one byte a second is let go.
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        socket_->abort();
        socket_->deleteLater();
    });
    deadline_.start(deadlineMs);
    if (socket_->bytesAvailable() > 0)
        look();
}

void HttpDoor::look()
{
    if (answered_) {
        // Whatever follows an answered request is not read.
        socket_->skip(socket_->bytesAvailable());
        return;
    }
    const QByteArray seen = socket_->peek(kMaxHead);
    const qsizetype end = httpHeadEnd(seen);
    if (end < 0) {
        if (socket_->bytesAvailable() >= kMaxHead)
            answer(PageFiles::tooLong());
        return;
    }
    const std::optional<HttpHead> head = readHttpHead(seen.left(end));
    if (!head) {
        answer(PageFiles::malformed());
        return;
    }
    if (head->upgrade) {
        deadline_.stop();
        disconnect(socket_, nullptr, this, nullptr);
        disconnect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
        QTcpSocket* socket = socket_;
        deleteLater();
        emit webSocket(socket);
        return;
    }
    answer(files_.answer(*head));
}

void HttpDoor::answer(const QByteArray& response)
{
    answered_ = true;
    socket_->skip(socket_->bytesAvailable());
    socket_->write(response);
    socket_->disconnectFromHost();
}

} // namespace volcanelle::server
