// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/joinattempt.h"

#include "engine/texts.h"

#include <QTcpSocket>

namespace volcanelle::net {

namespace {
constexpr int kJoinMs = 10000;

QString where(const QString& host, quint16 port)
{
    return (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host) +
           QStringLiteral(":%1").arg(port);
}
} // namespace

JoinAttempt::JoinAttempt(const QString& host, quint16 port, quint32 code, QObject* parent)
    : QObject(parent), host_(host), port_(port), code_(code)
{
    timeout_.setSingleShot(true);
    timeout_.setInterval(kJoinMs);
    connect(&timeout_, &QTimer::timeout, this,
            [this] { fail(texts::unreachable(where(host_, port_))); });
}

void JoinAttempt::start()
{
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, &JoinAttempt::connected);
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this] { fail(texts::unreachable(where(host_, port_))); });
    timeout_.start();
    socket_->connectToHost(host_, port_);
}

void JoinAttempt::connected()
{
    socket_->disconnect(this);
    link_ = new Link(socket_, this);
    socket_ = nullptr;
    connect(link_, &Link::received, this, &JoinAttempt::answer);
    connect(link_, &Link::lost, this, [this](Link::Loss loss) {
        fail(loss == Link::Loss::Garbled ? texts::garbledAnswer(where(host_, port_))
                                         : texts::unreachable(where(host_, port_)));
    });
    link_->send(wire::Hello{wire::kVersion, code_});
}

void JoinAttempt::answer(const wire::Message& message)
{
    if (done_)
        return;
    if (const auto* welcome = std::get_if<wire::Welcome>(&message)) {
        if (welcome->version != wire::kVersion) {
            fail(texts::otherVersion(welcome->version, wire::kVersion));
            return;
        }
        done_ = true;
        timeout_.stop();
        link_->hold();
        link_->disconnect(this);
        link_->setParent(nullptr);
        emit joined(link_);
        return;
    }
    const auto* refused = std::get_if<wire::Refused>(&message);
    if (!refused) {
        fail(texts::garbledMessage());
        return;
    }
    switch (refused->reason) {
    case wire::Refused::Reason::WrongCode:
    case wire::Refused::Reason::NoSuchRoom: // only a duel server says so; read as a wrong code
        fail(texts::wrongCode());
        break;
    case wire::Refused::Reason::Busy:
        fail(texts::hostBusy());
        break;
    case wire::Refused::Reason::LockedOut:
        fail(texts::lockedOut());
        break;
    case wire::Refused::Reason::BadVersion:
        fail(texts::otherVersion(refused->version, wire::kVersion));
        break;
    }
}

void JoinAttempt::fail(const QString& reason)
{
    if (done_)
        return;
    done_ = true;
    timeout_.stop();
    if (link_)
        link_->close(0);
    else if (socket_)
        socket_->abort();
    emit failed(reason);
}

} // namespace volcanelle::net
