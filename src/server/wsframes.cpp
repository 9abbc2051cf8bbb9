// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/wsframes.h"

#include <QCryptographicHash>

namespace volcanelle::server::ws {

QByteArray acceptKey(QByteArrayView key)
{
    QCryptographicHash sha1(QCryptographicHash::Sha1);
    sha1.addData(key);
    sha1.addData(QByteArrayView("258EAFA5-E914-47DA-95CA-C5AB0DC85B11"));
    return sha1.result().toBase64();
}

QByteArray upgradeAnswer(QByteArrayView key)
{
    return QByteArrayLiteral("HTTP/1.1 101 Switching Protocols\r\n"
                             "Upgrade: websocket\r\n"
                             "Connection: Upgrade\r\n"
                             "Sec-WebSocket-Accept: ") +
           acceptKey(key) + QByteArrayLiteral("\r\n\r\n");
}

void appendFrame(QByteArray& out, std::uint8_t opcode, QByteArrayView payload)
{
    const auto size = static_cast<std::uint64_t>(payload.size());
    out += static_cast<char>(0x80 | opcode);
    if (size < 126) {
        out += static_cast<char>(size);
    } else if (size <= 0xFFFF) {
        out += static_cast<char>(126);
        out += static_cast<char>(size >> 8);
        out += static_cast<char>(size & 0xFF);
    } else {
        out += static_cast<char>(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            out += static_cast<char>((size >> shift) & 0xFF);
    }
    out += payload;
}

void appendClose(QByteArray& out, std::uint16_t code)
{
    const char body[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    appendFrame(out, kClose, QByteArrayView(body, 2));
}

Read readFrame(QByteArrayView in, qsizetype most, Frame& frame, qsizetype& used)
{
    if (in.size() < 2)
        return Read::NeedMore;
    const auto byte = [&](qsizetype i) { return static_cast<std::uint8_t>(in[i]); };
    const std::uint8_t opcode = byte(0) & 0x0F;
    const bool final = (byte(0) & 0x80) != 0;
    const bool control = (opcode & 0x8) != 0;
    const bool known = opcode <= kBinary || (opcode >= kClose && opcode <= kPong);
    // No extension was agreed, so the reserved bits stay clear; clients always mask.
    if ((byte(0) & 0x70) != 0 || !known || (byte(1) & 0x80) == 0)
        return Read::Broken;
    std::uint64_t size = byte(1) & 0x7F;
    if (control && (!final || size > 125))
        return Read::Broken;
    const qsizetype extra = size == 126 ? 2 : size == 127 ? 8 : 0;
    qsizetype at = 2;
    if (in.size() < at + extra)
        return Read::NeedMore;
    if (extra) {
        size = 0;
        for (qsizetype i = 0; i < extra; ++i)
            size = size << 8 | byte(at + i);
        at += extra;
    }
    if (size > static_cast<std::uint64_t>(most))
        return Read::Broken;
    const qsizetype length = static_cast<qsizetype>(size);
    if (in.size() < at + 4 + length)
        return Read::NeedMore;
    const char* mask = in.data() + at;
    at += 4;
    frame.final = final;
    frame.opcode = opcode;
    frame.payload.resize(length);
    for (qsizetype i = 0; i < length; ++i)
        frame.payload[i] = static_cast<char>(in[at + i] ^ mask[i % 4]);
    used = at + length;
    return Read::Ready;
}

} // namespace volcanelle::server::ws
