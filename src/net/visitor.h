// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHostAddress>

namespace volcanelle::net {

/// The key a visitor's limits are counted under: an IPv4 address whole (also when it reaches
/// a dual-stack socket as ::ffff:a.b.c.d), an IPv6 address by its /64 network, which is what
/// one household or machine is usually given, so that changing the last 64 bits buys no
/// fresh limits.
QByteArray visitorKey(const QHostAddress& address);

} // namespace volcanelle::net
