// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/httphead.h"

#include <QList>

namespace volcanelle::server {

namespace {

// A method or a header name: letters, digits and the few signs the protocol allows.
bool isToken(QByteArrayView word)
{
    if (word.isEmpty())
        return false;
    for (const char c : word) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') ||
                           (u >= 'A' && u <= 'Z') || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
        if (!plain)
            return false;
    }
    return true;
}

bool isVisible(QByteArrayView text)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t')
            return false;
        if (u == 0x7f)
            return false;
    }
    return true;
}

} // namespace

qsizetype httpHeadEnd(const QByteArray& bytes)
{
    const qsizetype at = bytes.indexOf("\r\n\r\n");
    return at < 0 ? -1 : at + 4;
}

std::optional<HttpHead> readHttpHead(const QByteArray& head)
{
    const QList<QByteArray> lines = head.split('\n');
    if (lines.isEmpty())
        return std::nullopt;
    HttpHead out;
    bool first = true;
    for (QByteArray line : lines) {
        if (!line.endsWith('\r')) {
            // Only the piece after the last line feed may lack its carriage return: it is
            // empty when the head was given without its blank line.
            if (!line.isEmpty())
                return std::nullopt;
            continue;
        }
        line.chop(1);
        if (line.isEmpty())
            continue;
        if (!isVisible(line))
            return std::nullopt;
        if (first) {
            first = false;
            const QList<QByteArray> words = line.split(' ');
            if (words.size() != 3 || !isToken(words[0]) || !words[1].startsWith('/') ||
                (words[2] != "HTTP/1.1" && words[2] != "HTTP/1.0"))
                return std::nullopt;
            out.method = words[0];
            const qsizetype query = words[1].indexOf('?');
            out.path = query < 0 ? words[1] : words[1].left(query);
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(QByteArrayView(line).first(colon)))
            return std::nullopt;
        const QByteArray name = line.left(colon).toLower();
        const QByteArray raw = line.mid(colon + 1).trimmed();
        if (name == "upgrade") {
            for (const QByteArray& protocol : raw.toLower().split(','))
                if (protocol.trimmed() == "websocket")
                    out.upgrade = true;
        } else if (name == "sec-websocket-key") {
            out.webSocketKey = raw; // a nonce in base64: its case matters
        } else if (name == "sec-websocket-version") {
            out.webSocketVersion = raw;
        }
    }
    if (first)
        return std::nullopt;
    return out;
}

} // namespace volcanelle::server
