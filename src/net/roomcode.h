// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The code of a room on a duel server as players read and type it: eight characters from
// an alphabet with no two look-alikes (no 0/O, no 1/I), five bits each, shown XXXX-XXXX.
namespace volcanelle::net {

/// The code as shown: "XXXX-XXXX". `code` must be below wire::kRoomCodeLimit.
QString roomCodeText(std::uint64_t code);

/// The code a player typed: case does not matter, the dash and blanks around it may be
/// left out. Nothing for anything else, look-alike characters included.
std::optional<std::uint64_t> readRoomCode(const QString& typed);

/// A fresh code from the system's cryptographic generator.
std::uint64_t drawRoomCode();

} // namespace volcanelle::net
