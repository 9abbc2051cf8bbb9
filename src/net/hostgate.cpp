// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/hostgate.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

namespace volcanelle::net {

namespace {
constexpr int kHelloMs = 10000;
// Newcomers still saying hello at once; more are cut off unheard.
constexpr int kMostPending = 8;
} // namespace

HostGate::HostGate(const QString& code, QObject* parent) : QObject(parent), code_(code)
{
    connect(&server_, &QTcpServer::newConnection, this, &HostGate::acceptPending);
}

bool HostGate::listen(const QHostAddress& address, quint16 port)
{
    return server_.listen(address, port);
}

void HostGate::setLockout(int wrongCodes, std::chrono::milliseconds time)
{
    lockAfter_ = wrongCodes;
    lockTime_ = time;
}

void HostGate::setLinkTimings(int pingMs, int silenceMs)
{
    pingMs_ = pingMs;
    silenceMs_ = silenceMs;
}

QString HostGate::newCode()
{
    const quint32 value = QRandomGenerator::system()->bounded(1000000u);
    return QStringLiteral("%1").arg(value, 6, 10, QLatin1Char('0'));
}

void HostGate::acceptPending()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (pending_ >= kMostPending) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* link = new Link(socket, this);
        link->setTimings(pingMs_, silenceMs_);
        if (taken_) {
            refuse(link, wire::Refused::Reason::Busy);
            continue;
        }
        if (!lockedUntil_.hasExpired()) {
            refuse(link, wire::Refused::Reason::LockedOut);
            continue;
        }
        ++pending_;
        auto* deadline = new QTimer(link);
        deadline->setObjectName(QStringLiteral("hello deadline"));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, link] {
            --pending_;
            link->disconnect(this);
            link->close(0);
            link->deleteLater();
        });
        deadline->start(std::min(kHelloMs, silenceMs_ * 2));
        connect(link, &Link::received, this,
                [this, link](const wire::Message& message) { hello(link, message); });
        connect(link, &Link::lost, this, [this, link, deadline] {
            --pending_;
            deadline->stop();
            link->disconnect(this);
            link->deleteLater();
        });
    }
}

void HostGate::hello(Link* link, const wire::Message& message)
{
    // Whatever the newcomer said, it gets one answer and the gate forgets it.
    --pending_;
    link->disconnect(this);
    delete link->findChild<QTimer*>(QStringLiteral("hello deadline"));

    const auto* greeting = std::get_if<wire::Hello>(&message);
    if (!greeting) {
        link->close(0);
        link->deleteLater();
        return;
    }
    if (greeting->version != wire::kVersion) {
        refuse(link, wire::Refused::Reason::BadVersion);
        return;
    }
    if (taken_) {
        refuse(link, wire::Refused::Reason::Busy);
        return;
    }
    if (!lockedUntil_.hasExpired()) {
        refuse(link, wire::Refused::Reason::LockedOut);
        return;
    }
    if (QStringLiteral("%1").arg(greeting->code, 6, 10, QLatin1Char('0')) != code_) {
        if (++wrongCodes_ >= lockAfter_) {
            wrongCodes_ = 0;
            lockedUntil_.setRemainingTime(lockTime_);
        }
        refuse(link, wire::Refused::Reason::WrongCode);
        return;
    }
    taken_ = true;
    link->hold();
    link->setParent(nullptr);
    link->send(wire::Welcome{});
    emit joined(link);
}

void HostGate::refuse(Link* link, wire::Refused::Reason reason)
{
    link->send(wire::Refused{reason, wire::kVersion});
    link->close(0);
    link->deleteLater();
}

} // namespace volcanelle::net
