// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/visitor.h"

namespace volcanelle::net {

QByteArray visitorKey(const QHostAddress& address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4)
        return QByteArray::number(ipv4);
    const Q_IPV6ADDR ipv6 = address.toIPv6Address();
    // 'v' keeps a network's eight bytes apart from any IPv4 number's digits.
    return QByteArray(1, 'v') + QByteArray(reinterpret_cast<const char*>(ipv6.c), 8);
}

} // namespace volcanelle::net
