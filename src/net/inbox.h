// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <cstddef>
#include <deque>

namespace volcanelle::net {

/// The other side's messages that wait to be played, bounded so that a flood ends the duel
/// instead of growing without end: at most 4,096 messages, 16 boxes (each needs a click) and
/// 1 MiB of text. A duel in play keeps a handful at a time.
class Inbox {
public:
    /// Queues `message`; false, and nothing queued, when it would pass a bound.
    bool push(const wire::Message& message);
    bool empty() const { return messages_.empty(); }
    /// The oldest message; the inbox must not be empty.
    wire::Message pop();
    void clear();

private:
    std::deque<wire::Message> messages_;
    std::size_t boxes_ = 0;
    std::size_t textBytes_ = 0;
};

} // namespace volcanelle::net
