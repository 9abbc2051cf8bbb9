// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <functional>
#include <memory>

namespace volcanelle::server {

/// The duel a room holds: a duel whose questions are answered by messages from its two
/// sides, and whose every word to a side goes out as a message. The room knows nothing of
/// the rules; the duel knows nothing of connections, and never waits for an answer.
class RoomDuel {
public:
    /// Where the duel's messages to side 1 or 2 go; dropped while that side is away, which
    /// the answer false tells.
    using Outbox = std::function<bool(int side, const wire::Message& message)>;

    virtual ~RoomDuel() = default;

    /// Both sides are in: the duel begins.
    virtual void start() = 0;
    /// A message from side 1 or 2. A move out of turn, for a cell that is not covered, or
    /// anything the side may not say now changes nothing.
    virtual void receive(int side, const wire::Message& message) = 0;
    /// Side 1 or 2 came back on a new connection, having received `boxesSeen` boxes
    /// (wire::kBoxesUnknown when it does not know): everything it sees now, boxes included.
    virtual void replay(int side, std::uint32_t boxesSeen) = 0;
    /// The duel ends before its time (a side gone for good, the server stopping): both sides
    /// get the verdict so far.
    virtual void stop() = 0;
    /// True once the duel has ended, by itself or by stop().
    virtual bool over() const = 0;
};

/// Makes the duel of a new room, which talks through `outbox`.
using RoomDuelFactory = std::function<std::unique_ptr<RoomDuel>(RoomDuel::Outbox outbox)>;

} // namespace volcanelle::server
