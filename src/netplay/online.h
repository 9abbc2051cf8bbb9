// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <cstdint>
#include <optional>

namespace volcanelle {

/// Plays a duel through the duel server at `server` (the one used last, or asked for, when
/// none is given): opens a room as player 1, or joins `room` (asked for with `askRoom`). A
/// program started again with the room of a duel it was playing comes back to its side.
/// Returns the program's exit status once the duel is over: non-zero when the server could
/// not be reached, refused, or ended the room early.
int playOnline(std::optional<QUrl> server, std::optional<std::uint64_t> room, bool askRoom);

} // namespace volcanelle
