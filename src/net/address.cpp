// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/address.h"

#include <QStringList>
#include <QUrl>
#include <arpa/inet.h>

namespace volcanelle::net {

namespace {

bool allDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A host name: dot-separated labels of ASCII letters, digits and hyphens, as the resolver
// takes them.
bool isHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 253)
        return false;
    for (const QString& label : text.split(QLatin1Char('.'))) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(QLatin1Char('-')) ||
            label.endsWith(QLatin1Char('-')))
            return false;
        for (const QChar c : label) {
            const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                            c == QLatin1Char('-');
            if (!ok)
                return false;
        }
    }
    return true;
}

// An IPv6 address as the system's resolver writes it, with an optional zone ("fe80::1%eth0").
// Read without Qt Network, so that reading the command line loads no network library.
bool isIpv6(const QString& text)
{
    const qsizetype percent = text.indexOf(QLatin1Char('%'));
    if (percent >= 0) {
        const QString zone = text.mid(percent + 1);
        if (zone.isEmpty())
            return false;
        for (const QChar c : zone) {
            const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                            c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
            if (!ok)
                return false;
        }
    }
    const QString address = percent < 0 ? text : text.left(percent);
    for (const QChar c : address) {
        if (c.unicode() > 127)
            return false;
    }
    in6_addr bytes{};
    return inet_pton(AF_INET6, address.toLatin1().constData(), &bytes) == 1;
}

} // namespace

std::optional<quint16> parsePort(const QString& text)
{
    if (!allDigits(text) || text.size() > 5)
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

std::optional<quint32> parseCode(const QString& text)
{
    if (text.size() != 6 || !allDigits(text))
        return std::nullopt;
    return text.toUInt();
}

std::optional<Endpoint> parseEndpoint(const QString& text, quint16 defaultPort)
{
    Endpoint endpoint;
    endpoint.port = defaultPort;
    QString host;
    QString port;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            port = rest.mid(1);
            if (port.isEmpty())
                return std::nullopt;
        }
        if (!isIpv6(host))
            return std::nullopt;
    } else if (text.count(QLatin1Char(':')) > 1) {
        // A bare IPv6 address: without brackets it cannot carry a port.
        if (!isIpv6(text))
            return std::nullopt;
        host = text;
    } else {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        host = colon < 0 ? text : text.left(colon);
        if (colon >= 0) {
            port = text.mid(colon + 1);
            if (port.isEmpty())
                return std::nullopt;
        }
        if (!isHostName(host))
            return std::nullopt;
    }
    if (!port.isEmpty()) {
        const std::optional<quint16> number = parsePort(port);
        if (!number)
            return std::nullopt;
        endpoint.port = *number;
    }
    endpoint.host = host;
    return endpoint;
}

std::optional<QUrl> parseServer(const QString& text)
{
    const QString lower = text.toLower();
    if (lower.startsWith(QLatin1String("ws://")) || lower.startsWith(QLatin1String("wss://"))) {
        QUrl url(text, QUrl::StrictMode);
        const bool plain = url.userInfo().isEmpty() && !url.hasQuery() && !url.hasFragment();
        if (!url.isValid() || url.host().isEmpty() || !plain)
            return std::nullopt;
        // The host part is read as players may write it after the scheme.
        const QString host = url.host().contains(QLatin1Char(':'))
                                 ? QStringLiteral("[%1]").arg(url.host())
                                 : url.host();
        if (!parseEndpoint(host) || url.port() == 0)
            return std::nullopt;
        if (url.path().isEmpty())
            url.setPath(QStringLiteral("/ws"));
        return url;
    }
    const std::optional<Endpoint> endpoint = parseEndpoint(text, kServerPort);
    if (!endpoint)
        return std::nullopt;
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(endpoint->host);
    url.setPort(endpoint->port);
    url.setPath(QStringLiteral("/ws"));
    return url;
}

} // namespace volcanelle::net
