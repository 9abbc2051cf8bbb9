// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <QByteArray>
#include <cstddef>
#include <optional>

// How messages travel: each is one frame, a 4-byte big-endian length followed by that many
// bytes, the first of which names the message. A frame longer than kMaxFrame, a name that is
// not known, a body cut short or running on, a value out of its range, or text that is not
// UTF-8 is refused as a whole; reading never goes past the bytes it was given.
namespace volcanelle::wire {

/// The largest frame body accepted, length prefix not counted.
inline constexpr std::size_t kMaxFrame = 16 * 1024;
/// The longest text a message carries, in UTF-8 bytes.
inline constexpr std::size_t kMaxText = 4 * 1024;

/// The frame for `message`, length prefix included. Text longer than kMaxText is cut at a
/// character boundary so that the frame is always one the other side accepts.
QByteArray encode(const Message& message);
/// The frame body alone, without its length prefix: what one WebSocket binary message holds.
QByteArray encodeBody(const Message& message);

/// Reads one frame body (without its length prefix); nothing when it is refused.
std::optional<Message> decodeBody(const unsigned char* data, std::size_t size);

/// Cuts a byte stream into messages as it arrives, however it was split on the way.
class FrameReader {
public:
    enum class Status { NeedMore, Ready, Refused };

    void append(const QByteArray& bytes);
    /// The next whole message when Ready. After Refused the stream cannot be trusted any
    /// more and every later call answers Refused.
    Status next(Message& out);

private:
    QByteArray buffer_;
    bool broken_ = false;
};

} // namespace volcanelle::wire
