// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/limits.h"
#include "server/roomduel.h"

#include <QByteArray>
#include <QObject>
#include <array>
#include <cstdint>
#include <memory>

namespace volcanelle::server {

class ClientLink;

/// One room: its code, its two sides and the duel between them. The opener is player 1,
/// whoever joins by the code player 2. A side whose connection drops keeps its place for a
/// while and comes back with its token; the other side is told meanwhile. The server calls
/// tick() now and then for the room's deadlines.
class Room : public QObject {
    Q_OBJECT
public:
    Room(std::uint64_t code, const RoomDuelFactory& makeDuel, const ServerLimits& limits,
         QObject* parent = nullptr);
    ~Room() override;

    std::uint64_t code() const { return code_; }
    /// Whether side 2 has joined; it joins only once.
    bool joined() const { return joined_; }
    bool ended() const { return ended_; }

    /// Seats `link` as side 1 (the opener) or side 2 (the joiner, which starts the duel).
    void seat(int side, ClientLink* link);
    /// The side whose token this is, or 0.
    int sideOf(const QByteArray& token) const;
    /// The side comes back on `link`: it sees the duel as it stands.
    void resume(int side, ClientLink* link, std::uint32_t boxesSeen);
    /// The link of a side is gone; the side is away until it comes back.
    void leave(ClientLink* link);
    void receive(ClientLink* link, const wire::Message& message);

    /// Ends a room left unjoined too long, or a side away too long. True once it ended.
    bool tick(std::int64_t now);
    /// The server stops: the duel's verdict, then `farewell` to both sides.
    void close(const QString& farewell);

signals:
    /// One line about the room for the server's log.
    void happened(const QString& what);

private:
    struct Side {
        ClientLink* link = nullptr;
        QByteArray token;
        std::int64_t awaySince = 0;
    };
    Side& at(int side) { return sides_[side == 2 ? 1 : 0]; }
    void welcome(int side);
    /// False when the side is away and the message was dropped.
    bool post(int side, const wire::Message& message);
    void end();

    std::uint64_t code_;
    const ServerLimits& limits_;
    std::array<Side, 2> sides_;
    std::unique_ptr<RoomDuel> duel_;
    std::int64_t openedAt_;
    bool joined_ = false;
    bool ended_ = false;
};

} // namespace volcanelle::server
