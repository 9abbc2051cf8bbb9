// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <cstdint>
#include <vector>

namespace volcanelle::wire {

/// What one side of a duel has been shown, kept by whoever holds the duel from the messages
/// it sends that side, so that a side coming back on a new connection is shown it again:
/// its board and captions whole, and the boxes it missed. Every message meant for the side
/// is recorded, whether it could be sent or not.
class SideScreen {
public:
    /// The most recent boxes kept for a side that comes back; the joiner's inbox holds no
    /// more than this many either.
    static constexpr std::size_t kKeptBoxes = 16;

    void record(const Message& message);
    const Snapshot& snapshot() const { return snapshot_; }
    /// How many boxes were recorded since the duel began.
    std::uint32_t boxesSent() const { return boxesSent_; }
    /// What to send a side that comes back having received `boxesSeen` boxes: the snapshot,
    /// then the boxes it has not received, oldest first, as far as they are kept. The
    /// snapshot tells the side its count before those boxes.
    std::vector<Message> comeback(std::uint32_t boxesSeen) const;

private:
    Snapshot snapshot_;
    // The last boxes recorded, the newest at the back; a vector, which costs nothing until a
    // box comes, where a deque allocates at once (one per side of every duel a server holds).
    std::vector<Announce> boxes_;
    std::uint32_t boxesSent_ = 0;
};

} // namespace volcanelle::wire
