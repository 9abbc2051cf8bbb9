// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <optional>

namespace volcanelle::server {

/// What the server needs of an HTTP/1.x request head: the method, the path without its query,
/// whether it asks to become a WebSocket, and the key and version that upgrade comes with.
struct HttpHead {
    QByteArray method;
    QByteArray path;
    bool upgrade = false;
    QByteArray webSocketKey;
    QByteArray webSocketVersion;
};

/// Reads a whole head, request line and header lines, up to and without its blank line;
/// nothing when it is not a well-formed HTTP/1.0 or HTTP/1.1 head.
std::optional<HttpHead> readHttpHead(const QByteArray& head);

/// Where the head that `bytes` begin with ends (just past its blank line), or -1 while it
/// has not ended.
qsizetype httpHeadEnd(const QByteArray& bytes);

} // namespace volcanelle::server
