// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/clientlink.h"

#include "wire/codec.h"

#include <QTimer>
#include <QWebSocket>

namespace volcanelle::server {

ClientLink::ClientLink(QWebSocket* socket, const QHostAddress& address, const ServerLimits& limits,
                       QObject* parent)
    : QObject(parent), socket_(socket), address_(address), limits_(limits),
      connectedAt_(steadyMs()), lastHeard_(connectedAt_), lastSent_(connectedAt_)
{
    socket_->setParent(this);
    socket_->setMaxAllowedIncomingFrameSize(wire::kMaxFrame);
    socket_->setMaxAllowedIncomingMessageSize(wire::kMaxFrame);
    connect(socket_, &QWebSocket::binaryMessageReceived, this, &ClientLink::take);
    // The game speaks binary frames only: text is a stranger at the door.
    connect(socket_, &QWebSocket::textMessageReceived, this, &ClientLink::drop);
    connect(socket_, &QWebSocket::disconnected, this, &ClientLink::end);
}

ClientLink::~ClientLink() = default;

void ClientLink::take(const QByteArray& frame)
{
    if (ended_)
        return;
    std::optional<wire::Message> message =
        wire::decodeBody(reinterpret_cast<const unsigned char*>(frame.constData()),
                         static_cast<std::size_t>(frame.size()));
    if (!message) {
        drop();
        return;
    }
    lastHeard_ = steadyMs();
    emit received(*message);
}

void ClientLink::send(const wire::Message& message)
{
    if (ended_)
        return;
    // The frame of the WebSocket stands for the length prefix of the direct duel's stream.
    socket_->sendBinaryMessage(wire::encodeBody(message));
    lastSent_ = steadyMs();
    if (socket_->bytesToWrite() > limits_.maxUnsent)
        drop();
}

void ClientLink::flush()
{
    if (!ended_)
        socket_->flush();
}

void ClientLink::finish()
{
    if (ended_)
        return;
    socket_->flush();
    socket_->close();
    end();
}

void ClientLink::drop()
{
    if (ended_)
        return;
    socket_->abort();
    end();
}

void ClientLink::end()
{
    if (ended_)
        return;
    ended_ = true;
    // From the event loop: whoever is handling a message of this link finishes first.
    QTimer::singleShot(0, this, &ClientLink::gone);
}

} // namespace volcanelle::server
