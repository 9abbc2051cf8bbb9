// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// The server's side of WebSocket framing (RFC 6455) on its own sockets: the handshake's
// answer, frames read from a client (always masked) and frames written to it (never masked).
// No extensions; a message may come in fragments, which the link puts together.
namespace volcanelle::server::ws {

inline constexpr std::uint8_t kContinuation = 0x0;
inline constexpr std::uint8_t kText = 0x1;
inline constexpr std::uint8_t kBinary = 0x2;
inline constexpr std::uint8_t kClose = 0x8;
inline constexpr std::uint8_t kPing = 0x9;
inline constexpr std::uint8_t kPong = 0xA;

/// The close codes the server sends: done, and a frame it will not read.
inline constexpr std::uint16_t kNormalClosure = 1000;
inline constexpr std::uint16_t kTooBig = 1009;

/// The value of Sec-WebSocket-Accept for a client's Sec-WebSocket-Key.
QByteArray acceptKey(QByteArrayView key);
/// The whole 101 answer that turns an HTTP connection into a WebSocket.
QByteArray upgradeAnswer(QByteArrayView key);

/// Appends to `out` one whole frame of `opcode` holding `payload`, unmasked.
void appendFrame(QByteArray& out, std::uint8_t opcode, QByteArrayView payload);
/// Appends a close frame with `code`.
void appendClose(QByteArray& out, std::uint16_t code);

struct Frame {
    bool final = true; ///< FIN: the last (or only) piece of a message
    std::uint8_t opcode = 0;
    QByteArray payload; ///< unmasked
};

enum class Read { NeedMore, Ready, Broken };
/// Reads one client frame from the front of `in`; on Ready, `used` is its length. Broken
/// for a frame a client may not send (unmasked, reserved bits, unknown opcode, a control
/// frame cut in pieces or over 125 bytes) and for one longer than `most`, which is known
/// from its head alone, before its payload arrives.
Read readFrame(QByteArrayView in, qsizetype most, Frame& frame, qsizetype& used);

} // namespace volcanelle::server::ws
