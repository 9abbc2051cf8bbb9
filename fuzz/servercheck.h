// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>

namespace volcanelle::checks {

/// Plays `data` to a duel server as what four connections say and do: each step picks a
/// connection and gives it a message body, or drops and replaces it, or runs the server's
/// deadlines. A Join is pointed at a room that exists, so that rooms fill and duels run.
/// Empty when the server held together; otherwise what went wrong.
QString checkServerBytes(const unsigned char* data, std::size_t size);

} // namespace volcanelle::checks
