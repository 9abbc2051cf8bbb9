// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/joinattempt.h"

#include <QTcpSocket>
#include <QWebSocket>

namespace volcanelle::net {

namespace {
constexpr int kJoinMs = 10000;
} // namespace

QString JoinAttempt::address() const
{
    if (server_.isValid())
        return server_.toString();
    return (host_.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host_) : host_) +
           QStringLiteral(":%1").arg(port_);
}

JoinAttempt::JoinAttempt(const QString& host, quint16 port, quint32 code, QObject* parent)
    : QObject(parent), host_(host), port_(port), code_(code)
{
    timeout_.setSingleShot(true);
    timeout_.setInterval(kJoinMs);
    connect(&timeout_, &QTimer::timeout, this, [this] { fail(Failure::Unreachable); });
}

JoinAttempt::JoinAttempt(const QUrl& server, const wire::Enter& enter, QObject* parent)
    : JoinAttempt(QString(), 0, 0, parent)
{
    server_ = server;
    enter_ = enter;
    token_ = enter.token;
}

void JoinAttempt::rejoin(const QByteArray& token, quint32 boxesSeen)
{
    rejoining_ = true;
    token_ = token;
    boxesSeen_ = boxesSeen;
}

void JoinAttempt::start()
{
    timeout_.start();
    if (server_.isValid()) {
        webSocket_ = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
        connect(webSocket_, &QWebSocket::connected, this, &JoinAttempt::connected);
        connect(webSocket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
                [this] { fail(Failure::Unreachable); });
        webSocket_->open(server_);
        return;
    }
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, &JoinAttempt::connected);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] { fail(Failure::Unreachable); });
    socket_->connectToHost(host_, port_);
}

void JoinAttempt::connected()
{
    if (webSocket_) {
        webSocket_->disconnect(this);
        link_ = new Link(webSocket_, this);
        webSocket_ = nullptr;
        listen();
        link_->send(enter_);
        return;
    }
    socket_->disconnect(this);
    link_ = new Link(socket_, this);
    socket_ = nullptr;
    listen();
    if (rejoining_)
        link_->send(wire::Rejoin{wire::kVersion, token_, boxesSeen_});
    else
        link_->send(wire::Hello{wire::kVersion, code_});
}

void JoinAttempt::listen()
{
    connect(link_, &Link::received, this, &JoinAttempt::answer);
    connect(link_, &Link::lost, this, [this](Link::Loss loss) {
        fail(loss == Link::Loss::Garbled ? Failure::Garbled : Failure::Unreachable);
    });
}

void JoinAttempt::answer(const wire::Message& message)
{
    if (done_)
        return;
    if (server_.isValid()) {
        if (const auto* in = std::get_if<wire::Entered>(&message))
            entered(*in);
        else if (const auto* no = std::get_if<wire::Refused>(&message))
            refused(*no);
        else
            fail(Failure::Garbled);
        return;
    }
    if (const auto* welcome = std::get_if<wire::Welcome>(&message)) {
        if (welcome->version != wire::kVersion) {
            fail(Failure::OtherVersion, welcome->version);
            return;
        }
        done_ = true;
        timeout_.stop();
        if (!rejoining_)
            token_ = welcome->token;
        link_->hold();
        link_->disconnect(this);
        link_->setParent(nullptr);
        emit joined(link_);
        return;
    }
    if (const auto* no = std::get_if<wire::Refused>(&message))
        refused(*no);
    else
        fail(Failure::Garbled);
}

void JoinAttempt::entered(const wire::Entered& entered)
{
    if (entered.version != wire::kVersion) {
        fail(Failure::OtherVersion, entered.version);
        return;
    }
    // Coming back, the server must seat this program in the room it asked for.
    if (enter_.action != wire::Enter::Action::Open && entered.room != enter_.room) {
        fail(Failure::Garbled);
        return;
    }
    done_ = true;
    timeout_.stop();
    enter_.room = entered.room;
    side_ = entered.side;
    token_ = entered.token;
    link_->hold();
    link_->disconnect(this);
    link_->setParent(nullptr);
    emit joined(link_);
}

void JoinAttempt::refused(const wire::Refused& refused)
{
    switch (refused.reason) {
    case wire::Refused::Reason::WrongCode:
    case wire::Refused::Reason::NoSuchRoom: // only a duel server says so; read as a wrong code
        fail(Failure::WrongCode);
        break;
    case wire::Refused::Reason::Busy:
        fail(Failure::HostBusy);
        break;
    case wire::Refused::Reason::LockedOut:
        fail(Failure::LockedOut);
        break;
    case wire::Refused::Reason::BadVersion:
        fail(Failure::OtherVersion, refused.version);
        break;
    }
}

void JoinAttempt::fail(Failure reason, int theirVersion)
{
    if (done_)
        return;
    done_ = true;
    timeout_.stop();
    if (link_)
        link_->close(0);
    else if (socket_)
        socket_->abort();
    else if (webSocket_)
        webSocket_->abort();
    emit failed(reason, theirVersion);
}

} // namespace volcanelle::net
