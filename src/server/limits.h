// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/address.h"

#include <chrono>
#include <cstdint>

namespace volcanelle::server {

/// What the duel server bears from each address and each connection. The defaults are the
/// ones it runs with; its command line and the tests change some of them.
struct ServerLimits {
    int connectionsPerAddress = 32;
    int roomsPerAddressPerMinute = 10;
    int wrongCodesPerAddressPerMinute = 20;
    int lockoutMs = 60'000;              ///< refusal after too many wrong codes
    std::int64_t maxUnsent = 256 * 1024; ///< bytes a slow reader may leave unread
    int helloMs = 10'000;                ///< from the connection to the room asked for
    int silenceMs = 6'000; ///< longest wait for a whole message (clients ping every 2 s)
    int pingMs = 2'000;
    int unjoinedRoomMs = 10 * 60'000; ///< a room nobody joined closes after this
    int awayMs = 60'000;              ///< a side that lost its connection may come back within this
};

/// Milliseconds on the steady clock that every deadline of the server is reckoned on.
inline std::int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// The port a duel server listens on unless told otherwise, where the game looks for it.
inline constexpr std::uint16_t kDefaultPort = net::kServerPort;

} // namespace volcanelle::server
