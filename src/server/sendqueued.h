// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace volcanelle::server {

/// Writes the front of `queue` to the non-blocking socket `fd` as far as the socket takes it,
/// and drops what went out; an emptied queue gives its memory back. False when the socket
/// failed (the other side gone); a full socket is not a failure.
bool sendQueued(int fd, QByteArray& queue);

} // namespace volcanelle::server
