// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/link.h"

#include <QPointer>
#include <QTcpSocket>
#include <QWebSocket>

namespace volcanelle::net {

namespace {
// What is read from the system at a time: a few whole frames, so that a sender faster than
// the reader waits in the system's buffers, not in this program's memory.
constexpr qint64 kReadBuffer = 4 * wire::kMaxFrame;
} // namespace

Link::Link(QTcpSocket* socket, QObject* parent) : QObject(parent), socket_(socket)
{
    socket_->setParent(this);
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_->setReadBufferSize(kReadBuffer);
    // Queued: a receiver may open a box, and a socket does not signal readyRead again while
    // a slot of that very signal is still running; the link would then seem silent.
    connect(socket_, &QTcpSocket::readyRead, this, &Link::readAvailable, Qt::QueuedConnection);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { fail(Loss::Closed); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] { fail(Loss::Closed); });
    setUp(socket_->state() == QAbstractSocket::ConnectedState);
    // Bytes that came before the link was made are read as soon as the caller listens.
    if (isOpen() && socket_->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &Link::readAvailable);
}

Link::Link(QWebSocket* socket, QObject* parent) : QObject(parent), webSocket_(socket)
{
    webSocket_->setParent(this);
    webSocket_->setMaxAllowedIncomingFrameSize(wire::kMaxFrame);
    webSocket_->setMaxAllowedIncomingMessageSize(wire::kMaxFrame);
    connect(webSocket_, &QWebSocket::binaryMessageReceived, this, &Link::takeFrame);
    // The server speaks in binary frames only.
    connect(webSocket_, &QWebSocket::textMessageReceived, this, [this] { fail(Loss::Garbled); });
    connect(webSocket_, &QWebSocket::disconnected, this, [this] { fail(Loss::Closed); });
    connect(webSocket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
            [this] { fail(Loss::Closed); });
    setUp(webSocket_->state() == QAbstractSocket::ConnectedState);
}

void Link::setUp(bool connected)
{
    connect(&ping_, &QTimer::timeout, this, [this] { send(wire::Ping{}); });
    connect(&silence_, &QTimer::timeout, this, [this] { fail(Loss::Silent); });
    silence_.setSingleShot(true);
    setTimings(kPingMs, kSilenceMs);
    if (!connected)
        QTimer::singleShot(0, this, [this] { fail(Loss::Closed); });
}

void Link::setTimings(int pingMs, int silenceMs)
{
    ping_.start(pingMs);
    silence_.start(silenceMs);
}

QString Link::peer() const
{
    return socket_ ? socket_->peerAddress().toString() : webSocket_->peerAddress().toString();
}

void Link::release()
{
    held_ = false;
    QTimer::singleShot(0, this, &Link::deliver);
}

void Link::send(const wire::Message& message)
{
    if (!open_ || ended_)
        return;
    if (socket_)
        socket_->write(wire::encode(message));
    else
        webSocket_->sendBinaryMessage(wire::encodeBody(message));
}

void Link::close(int waitMs)
{
    ended_ = true;
    if (!open_)
        return;
    open_ = false;
    ping_.stop();
    silence_.stop();
    if (webSocket_) {
        webSocket_->disconnect(this);
        webSocket_->flush();
        webSocket_->close();
        return;
    }
    socket_->disconnect(this);
    socket_->flush();
    if (socket_->bytesToWrite() > 0)
        socket_->waitForBytesWritten(waitMs);
    socket_->disconnectFromHost();
}

void Link::readAvailable()
{
    take();
    deliver();
}

void Link::takeFrame(const QByteArray& frame)
{
    if (!open_)
        return;
    silence_.start();
    std::optional<wire::Message> message =
        wire::decodeBody(reinterpret_cast<const unsigned char*>(frame.constData()),
                         static_cast<std::size_t>(frame.size()));
    if (!message) {
        fail(Loss::Garbled);
        return;
    }
    if (!std::holds_alternative<wire::Ping>(*message))
        pending_.push_back(*message);
    // Delivered from the event loop, as the stream's messages are.
    QTimer::singleShot(0, this, &Link::deliver);
}

void Link::take()
{
    if (!open_ || !socket_)
        return;
    reader_.append(socket_->readAll());
    silence_.start();
    wire::Message message;
    for (;;) {
        const wire::FrameReader::Status status = reader_.next(message);
        if (status == wire::FrameReader::Status::NeedMore)
            return;
        if (status == wire::FrameReader::Status::Refused) {
            fail(Loss::Garbled);
            return;
        }
        if (!std::holds_alternative<wire::Ping>(message))
            pending_.push_back(message);
    }
}

void Link::deliver()
{
    // A receiver may open a box whose event loop delivers the next messages meanwhile; each
    // message still goes out once, in the order it came. That loop may also delete this link
    // (the connection was replaced while the box was open): then nothing more is ours to do.
    const QPointer<Link> alive(this);
    while (!ended_ && !held_ && !pending_.empty()) {
        const wire::Message message = pending_.front();
        pending_.pop_front();
        emit received(message);
        if (!alive)
            return;
    }
    if (!ended_ && !held_ && pending_.empty() && loss_) {
        ended_ = true;
        emit lost(*loss_);
    }
}

void Link::fail(Loss loss)
{
    if (!open_)
        return;
    // What came before the connection closed is still the other side's word.
    if (loss == Loss::Closed)
        take();
    if (!open_)
        return;
    open_ = false;
    loss_ = loss;
    ping_.stop();
    silence_.stop();
    abortSocket();
    QTimer::singleShot(0, this, &Link::deliver);
}

void Link::abortSocket()
{
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    } else {
        webSocket_->disconnect(this);
        webSocket_->abort();
    }
}

} // namespace volcanelle::net
