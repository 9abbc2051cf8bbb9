// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/hostgate.h"

#include "net/visitor.h"
#include "wire/token.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QTimer>

namespace volcanelle::net {

namespace {
// A joiner says hello as soon as it is connected; more than this is someone holding a slot.
constexpr int kHelloMs = 3000;
// Newcomers still saying hello at once, from one address and from all; more are cut off
// unheard.
constexpr int kMostPendingPerAddress = 2;
constexpr int kMostPending = 64;
} // namespace

HostGate::HostGate(const QString& code, QObject* parent)
    : QObject(parent), code_(code), token_(wire::drawToken())
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
        const QByteArray from = visitorKey(socket->peerAddress());
        // Looked up, not added: only a newcomer let in to say hello is remembered.
        const Visitor visitor = visitors_.value(from);
        if (pending_ >= kMostPending || visitor.pending >= kMostPendingPerAddress) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* link = new Link(socket, this);
        link->setTimings(pingMs_, silenceMs_);
        // Once the opponent is in, a newcomer may still be the opponent coming back: it is
        // heard, and refused as busy if it says hello.
        if (!visitor.lockedUntil.hasExpired()) {
            refuse(link, wire::Refused::Reason::LockedOut);
            continue;
        }
        ++pending_;
        ++visitors_[from].pending;
        auto* deadline = new QTimer(link);
        deadline->setObjectName(QStringLiteral("hello deadline"));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, link, from] {
            leave(from);
            link->disconnect(this);
            link->close(0);
            link->deleteLater();
        });
        deadline->start(std::min(kHelloMs, silenceMs_ * 2));
        connect(link, &Link::received, this,
                [this, link, from](const wire::Message& message) { hello(link, from, message); });
        connect(link, &Link::lost, this, [this, link, from, deadline] {
            leave(from);
            deadline->stop();
            link->disconnect(this);
            link->deleteLater();
        });
    }
}

void HostGate::leave(const QByteArray& from)
{
    --pending_;
    const auto found = visitors_.find(from);
    if (found == visitors_.end())
        return;
    --found->pending;
    // Forget an address with nothing left to count, so strangers cannot grow the table.
    if (found->pending == 0 && found->forgetWrong.hasExpired() && found->lockedUntil.hasExpired())
        visitors_.erase(found);
}

void HostGate::hello(Link* link, const QByteArray& from, const wire::Message& message)
{
    // Whatever the newcomer said, it gets one answer and the gate forgets it.
    link->disconnect(this);
    delete link->findChild<QTimer*>(QStringLiteral("hello deadline"));
    // Its waiting slot is held until the answer is given.
    Visitor& visitor = visitors_[from];
    const auto answered = qScopeGuard([this, &from] { leave(from); });

    if (const auto* back = std::get_if<wire::Rejoin>(&message)) {
        rejoin(link, visitor, *back);
        return;
    }
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
    if (!visitor.lockedUntil.hasExpired()) {
        refuse(link, wire::Refused::Reason::LockedOut);
        return;
    }
    if (QStringLiteral("%1").arg(greeting->code, 6, 10, QLatin1Char('0')) != code_) {
        wrongCode(visitor);
        refuse(link, wire::Refused::Reason::WrongCode);
        return;
    }
    taken_ = true;
    link->hold();
    link->setParent(nullptr);
    link->send(wire::Welcome{wire::kVersion, token_});
    emit joined(link);
}

void HostGate::rejoin(Link* link, Visitor& visitor, const wire::Rejoin& rejoin)
{
    if (rejoin.version != wire::kVersion) {
        refuse(link, wire::Refused::Reason::BadVersion);
        return;
    }
    if (!visitor.lockedUntil.hasExpired()) {
        refuse(link, wire::Refused::Reason::LockedOut);
        return;
    }
    // A token is guessed no more than a code: a wrong one counts as a wrong code.
    if (!taken_ || !comebacks_ || !wire::sameToken(token_, rejoin.token)) {
        wrongCode(visitor);
        refuse(link, wire::Refused::Reason::WrongCode);
        return;
    }
    link->hold();
    link->setParent(nullptr);
    link->send(wire::Welcome{wire::kVersion, token_});
    emit cameBack(link, rejoin.boxesSeen);
}

void HostGate::wrongCode(Visitor& visitor)
{
    // A few typos spread over time are forgotten; five within the lockout time lock it.
    if (visitor.forgetWrong.hasExpired())
        visitor.wrongCodes = 0;
    visitor.forgetWrong.setRemainingTime(lockTime_);
    if (++visitor.wrongCodes >= lockAfter_) {
        visitor.wrongCodes = 0;
        visitor.lockedUntil.setRemainingTime(lockTime_);
    }
}

void HostGate::refuse(Link* link, wire::Refused::Reason reason)
{
    link->send(wire::Refused{reason, wire::kVersion});
    link->close(0);
    link->deleteLater();
}

} // namespace volcanelle::net
