// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/duelserver.h"

#include "net/roomcode.h"
#include "server/clientlink.h"
#include "server/lingeringclose.h"
#include "server/room.h"

#include <QTcpServer>
#include <cstdio>
#include <functional>
#include <sys/socket.h>
#include <unistd.h>

namespace volcanelle::server {

namespace {

constexpr int kSweepMs = 500;
constexpr int kListenBacklog = 4096;

/// Where a connection comes from; a v4 client of a dual-stack socket by its v4 address, so
/// that it counts as itself.
QHostAddress peerOf(int fd)
{
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0)
        return {};
    const QHostAddress address(reinterpret_cast<const sockaddr*>(&peer));
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : address;
}

} // namespace

/// The listening socket, handing over each connection as a bare socket: the server keeps
/// no Qt socket object per connection.
class Listener : public QTcpServer {
public:
    using QTcpServer::QTcpServer;
    std::function<void(int)> arrived;

protected:
    void incomingConnection(qintptr fd) override { arrived(static_cast<int>(fd)); }
};

DuelServer::DuelServer(const ServerLimits& limits, RoomDuelFactory makeDuel, QObject* parent)
    : QObject(parent), limits_(limits), makeDuel_(std::move(makeDuel)), guard_(limits_),
      tcp_(new Listener(this))
{
    // Qt's default of 50 drops a burst of connections (every side coming back after a proxy
    // restarted), which then wait a second or more to try again; the system caps this at
    // its own limit.
    tcp_->setListenBacklogSize(kListenBacklog);
    tcp_->arrived = [this](int fd) { accept(fd); };
    connect(&sweep_, &QTimer::timeout, this, &DuelServer::sweep);
    sweep_.start(kSweepMs);
}

DuelServer::~DuelServer() = default;

bool DuelServer::listen(const QHostAddress& address, quint16 port)
{
    return tcp_->listen(address, port);
}

QString DuelServer::errorString() const
{
    return tcp_->errorString();
}

quint16 DuelServer::port() const
{
    return tcp_->serverPort();
}

void DuelServer::accept(int fd)
{
    const QHostAddress address = peerOf(fd);
    if (stopping_ || !guard_.admit(address)) {
        ::close(fd);
        return;
    }
    // A browser asks for the page first; game programs and the page ask for a WebSocket.
    take(fd, address, ClientLink::Start::Request);
}

ClientLink* DuelServer::adopt(int fd, const QHostAddress& address)
{
    return take(fd, address, ClientLink::Start::WebSocket);
}

ClientLink* DuelServer::take(int fd, const QHostAddress& address, ClientLink::Start start)
{
    auto* link = new ClientLink(fd, address, limits_, pages_, start, this);
    links_.insert(link, start == ClientLink::Start::Request);
    connect(link, &ClientLink::received, this,
            [this, link](const wire::Message& message) { handle(link, message); });
    connect(link, &ClientLink::gone, this, [this, link] { linkGone(link); });
    if (stopping_)
        link->drop();
    return link;
}

void DuelServer::handle(ClientLink* link, const wire::Message& message)
{
    if (std::holds_alternative<wire::Ping>(message))
        return;
    if (link->room) {
        // Asking again for a room is a fault of its own.
        if (std::holds_alternative<wire::Enter>(message))
            link->drop();
        else
            link->room->receive(link, message);
        return;
    }
    if (const auto* enter = std::get_if<wire::Enter>(&message))
        this->enter(link, *enter);
    else
        link->drop();
}

void DuelServer::enter(ClientLink* link, const wire::Enter& enter)
{
    const std::int64_t now = steadyMs();
    const QHostAddress& address = link->address();
    if (enter.version != wire::kVersion) {
        refuse(link, wire::Refused::Reason::BadVersion);
        return;
    }
    if (stopping_) {
        refuse(link, wire::Refused::Reason::Busy);
        return;
    }
    if (enter.action == wire::Enter::Action::Open) {
        if (!guard_.mayOpenRoom(address, now)) {
            refuse(link, wire::Refused::Reason::Busy);
            return;
        }
        Room* room = openRoom(address);
        room->seat(1, link);
        return;
    }
    if (guard_.lockedOut(address, now)) {
        refuse(link, wire::Refused::Reason::LockedOut);
        return;
    }
    const auto found = rooms_.find(enter.room);
    Room* room = found == rooms_.end() || found->second->ended() ? nullptr : found->second;
    if (enter.action == wire::Enter::Action::Join) {
        if (!room) {
            guard_.wrongCode(address, now);
            refuse(link, wire::Refused::Reason::NoSuchRoom);
        } else if (room->joined()) {
            refuse(link, wire::Refused::Reason::Busy);
        } else {
            room->seat(2, link);
        }
        return;
    }
    const int side = room ? room->sideOf(enter.token) : 0;
    if (side == 0) {
        guard_.wrongCode(address, now);
        refuse(link, wire::Refused::Reason::NoSuchRoom);
        return;
    }
    room->resume(side, link, enter.boxesSeen);
}

void DuelServer::refuse(ClientLink* link, wire::Refused::Reason reason)
{
    link->send(wire::Refused{reason, wire::kVersion});
    link->finish();
}

Room* DuelServer::openRoom(const QHostAddress& by)
{
    std::uint64_t code = net::drawRoomCode();
    while (rooms_.count(code))
        code = net::drawRoomCode();
    auto* room = new Room(code, makeDuel_, limits_, this);
    rooms_.emplace(code, room);
    connect(room, &Room::happened, this, [this, room](const QString& what) { log(room, what); });
    log(room, QStringLiteral("opened by %1").arg(by.toString()));
    return room;
}

void DuelServer::linkGone(ClientLink* link)
{
    const auto found = links_.constFind(link);
    if (found == links_.cend())
        return;
    const bool counted = found.value();
    links_.erase(found);
    if (link->room)
        link->room->leave(link);
    // However the connection ends, its count goes with its socket, which may linger a while.
    QByteArray unsent;
    const int fd = link->takeSocket(unsent);
    if (fd >= 0) {
        auto* closing = new LingeringClose(fd, std::move(unsent), limits_.helloMs, this);
        ++lingering_;
        connect(closing, &QObject::destroyed, this, [this, counted, address = link->address()] {
            if (counted)
                guard_.release(address);
            --lingering_;
            checkStopped();
        });
    } else if (counted) {
        guard_.release(link->address());
    }
    link->deleteLater();
    checkStopped();
}

void DuelServer::sweep()
{
    const std::int64_t now = steadyMs();
    for (auto it = links_.keyBegin(); it != links_.keyEnd(); ++it) {
        ClientLink* link = *it;
        if (!link->open())
            continue;
        const bool silent = now - link->lastHeard() >= limits_.silenceMs;
        const bool noRoom = !link->room && now - link->connectedAt() >= limits_.helloMs;
        if (silent || noRoom)
            link->drop();
        else if (now - link->lastSent() >= limits_.pingMs)
            link->send(wire::Ping{});
    }
    for (auto it = rooms_.begin(); it != rooms_.end();) {
        Room* room = it->second;
        if (room->tick(now)) {
            room->deleteLater();
            it = rooms_.erase(it);
        } else {
            ++it;
        }
    }
    guard_.forget(now);
}

void DuelServer::stop(const QString& farewell)
{
    if (stopping_)
        return;
    stopping_ = true;
    tcp_->close();
    for (auto& [code, room] : rooms_)
        room->close(farewell);
    // Connections that never asked for a room have no duel to be told about.
    for (auto it = links_.keyBegin(); it != links_.keyEnd(); ++it)
        if (!(*it)->room)
            (*it)->finish();
    checkStopped();
}

void DuelServer::checkStopped()
{
    if (!stopping_ || !links_.isEmpty() || lingering_ > 0 || stopEmitted_)
        return;
    stopEmitted_ = true;
    QTimer::singleShot(0, this, &DuelServer::stopped);
}

std::vector<std::uint64_t> DuelServer::roomCodes() const
{
    std::vector<std::uint64_t> codes;
    for (const auto& [code, room] : rooms_)
        codes.push_back(code);
    return codes;
}

void DuelServer::log(const Room* room, const QString& what) const
{
    std::fprintf(stderr, "room %s %s\n", qPrintable(net::roomCodeText(room->code())),
                 qPrintable(what));
}

} // namespace volcanelle::server
