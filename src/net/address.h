// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace volcanelle::net {

/// The port a host listens on when none is given: in the dynamic range, so that it needs
/// no privilege and clashes with no registered service.
inline constexpr quint16 kDefaultPort = 49854;
/// The port of a duel server when none is given.
inline constexpr quint16 kServerPort = 49855;

/// Where to join a host.
struct Endpoint {
    QString host; ///< a name, an IPv4 address, or an IPv6 address without brackets
    quint16 port = kDefaultPort;
};

/// Reads ADDRESS[:PORT] as players write it: "jeu.example", "192.0.2.7:50000", "::1",
/// "[::1]:50000". A port is 1 to 65535, in decimal digits only; an IPv6 address with a port
/// must be in brackets. Nothing when the text is not one of these.
std::optional<Endpoint> parseEndpoint(const QString& text, quint16 defaultPort = kDefaultPort);

/// Reads where a duel server is: ADDRESS[:PORT] as above (port 49855 unless given), or a
/// ws:// or wss:// address, as a reverse proxy that adds TLS offers it. The WebSocket's
/// address, or nothing when the text is none of these.
std::optional<QUrl> parseServer(const QString& text);

/// Reads a port given on its own, "1" to "65535".
std::optional<quint16> parsePort(const QString& text);

/// Reads a six-digit code, zeros in front allowed: "004217".
std::optional<quint32> parseCode(const QString& text);

} // namespace volcanelle::net
