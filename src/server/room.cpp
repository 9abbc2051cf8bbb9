// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/room.h"

#include "server/clientlink.h"
#include "server/servertexts.h"
#include "wire/token.h"

namespace volcanelle::server {

Room::Room(std::uint64_t code, const RoomDuelFactory& makeDuel, const ServerLimits& limits,
           QObject* parent)
    : QObject(parent), code_(code), limits_(limits), openedAt_(steadyMs())
{
    duel_ =
        makeDuel([this](int side, const wire::Message& message) { return post(side, message); });
    sides_[0].token = wire::drawToken();
    sides_[1].token = wire::drawToken();
}

Room::~Room() = default;

void Room::seat(int side, ClientLink* link)
{
    at(side).link = link;
    link->room = this;
    link->side = side;
    welcome(side);
    if (side == 2) {
        joined_ = true;
        emit happened(QStringLiteral("joined by %1").arg(link->address().toString()));
        duel_->start();
        if (duel_->over())
            end();
    }
}

int Room::sideOf(const QByteArray& token) const
{
    for (int side = 1; side <= 2; ++side)
        if (wire::sameToken(sides_[side - 1].token, token) && (side == 1 || joined_))
            return side;
    return 0;
}

void Room::resume(int side, ClientLink* link, std::uint32_t boxesSeen)
{
    Side& s = at(side);
    if (s.link) {
        // The old connection is not known to be dead yet: the new one wins.
        s.link->room = nullptr;
        s.link->drop();
    }
    s.link = link;
    s.awaySince = 0;
    link->room = this;
    link->side = side;
    welcome(side);
    emit happened(QStringLiteral("side %1 back from %2").arg(side).arg(link->address().toString()));
    if (joined_)
        duel_->replay(side, boxesSeen);
    post(3 - side, wire::Opponent{true});
    // The side that comes back learns whether the other one is there: it may have missed
    // the other's own loss and return while it was away.
    if (joined_)
        post(side, wire::Opponent{at(3 - side).link != nullptr});
}

void Room::welcome(int side)
{
    at(side).link->send(
        wire::Entered{wire::kVersion, code_, static_cast<std::uint8_t>(side), at(side).token});
}

void Room::leave(ClientLink* link)
{
    if (ended_ || link->room != this)
        return;
    Side& s = at(link->side);
    if (s.link != link)
        return;
    s.link = nullptr;
    s.awaySince = steadyMs();
    link->room = nullptr;
    emit happened(QStringLiteral("side %1 lost").arg(link->side));
    post(3 - link->side, wire::Opponent{false});
}

void Room::receive(ClientLink* link, const wire::Message& message)
{
    if (ended_ || link->room != this || !joined_)
        return;
    // The duel waits for a side that lost its connection: nobody plays meanwhile.
    const bool move = std::holds_alternative<wire::Click>(message) ||
                      std::holds_alternative<wire::NewRound>(message);
    if (move && !at(3 - link->side).link)
        return;
    duel_->receive(link->side, message);
    // Both sides see the move before the server turns to other connections ready meanwhile.
    for (Side& s : sides_)
        if (s.link)
            s.link->flush();
    if (duel_->over())
        end();
}

bool Room::tick(std::int64_t now)
{
    if (ended_)
        return true;
    if (!joined_ && now - openedAt_ >= limits_.unjoinedRoomMs) {
        emit happened(QStringLiteral("expired unjoined"));
        post(1, wire::Farewell{texts::roomExpired()});
        end();
        return true;
    }
    for (int side = 1; side <= 2; ++side) {
        const Side& s = at(side);
        if (!s.link && s.awaySince != 0 && now - s.awaySince >= limits_.awayMs) {
            emit happened(QStringLiteral("side %1 gone for good").arg(side));
            if (joined_)
                duel_->stop();
            end();
            return true;
        }
    }
    return false;
}

void Room::close(const QString& farewell)
{
    if (ended_)
        return;
    if (joined_ && !duel_->over())
        duel_->stop();
    for (int side = 1; side <= 2; ++side)
        post(side, wire::Farewell{farewell});
    emit happened(QStringLiteral("closed by the server's stop"));
    end();
}

bool Room::post(int side, const wire::Message& message)
{
    ClientLink* link = at(side).link;
    if (link)
        link->send(message);
    return link != nullptr;
}

void Room::end()
{
    if (ended_)
        return;
    ended_ = true;
    for (Side& s : sides_) {
        if (!s.link)
            continue;
        s.link->send(wire::Bye{});
        s.link->room = nullptr;
        s.link->finish();
        s.link = nullptr;
    }
    emit happened(QStringLiteral("ended"));
}

} // namespace volcanelle::server
