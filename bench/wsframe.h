// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The least of a WebSocket client (RFC 6455) that the load bench needs to talk to the duel
// server over plain sockets: the upgrade request, masked binary frames out, and the frames
// the server sends read back. No extensions, no fragments of our own.
namespace volcanelle::bench::ws {

/// The upgrade request for the server's root on `host` (with its port).
std::string upgradeRequest(std::string_view host);

enum class Upgrade { NeedMore, Accepted, Refused };
/// Reads the server's answer from the front of `in`; on Accepted, `used` is its length.
Upgrade readUpgrade(std::string_view in, std::size_t& used);

/// Appends to `out` a binary frame holding `payload`, masked with `mask` as a client must.
void appendBinary(std::string& out, std::string_view payload, std::uint32_t mask);
/// Appends a masked frame of `opcode` (pong, close) with a payload under 126 bytes.
void appendControl(std::string& out, std::uint8_t opcode, std::string_view payload,
                   std::uint32_t mask);

inline constexpr std::uint8_t kBinary = 0x2;
inline constexpr std::uint8_t kClose = 0x8;
inline constexpr std::uint8_t kPing = 0x9;
inline constexpr std::uint8_t kPong = 0xA;

struct Frame {
    bool whole = true; ///< FIN: a message in one frame
    std::uint8_t opcode = 0;
    std::string_view payload;
};
enum class Read { NeedMore, Ready, Broken };
/// Reads one server frame from the front of `in` (servers never mask); on Ready, `used` is
/// its length and the payload points into `in`. Broken for a masked frame or one longer
/// than `most`.
Read readFrame(std::string_view in, std::size_t most, Frame& frame, std::size_t& used);

} // namespace volcanelle::bench::ws
