// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>

namespace volcanelle::checks {

/// Feeds `data` to the message reader twice: as one frame body, and as a stream cut into
/// uneven pieces. Every message accepted must write back to bytes that read as the same
/// message, a covered cell must never carry a picture, and no cell, click, code or refusal may
/// lie outside what the game knows. Returns what went wrong, or an
/// empty string when all holds.
QString checkWireBytes(const unsigned char* data, std::size_t size);

} // namespace volcanelle::checks
