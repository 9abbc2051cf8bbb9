// SPDX-License-Identifier: GPL-3.0-or-later
#include "wsframe.h"

namespace volcanelle::bench::ws {

std::string upgradeRequest(std::string_view host)
{
    // The key is only a nonce; the server's accept hash is not checked here, the bench
    // talks to its own child.
    std::string request = "GET / HTTP/1.1\r\nHost: ";
    request += host;
    request += "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
               "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
               "Sec-WebSocket-Version: 13\r\n\r\n";
    return request;
}

Upgrade readUpgrade(std::string_view in, std::size_t& used)
{
    const std::size_t end = in.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return in.size() > 8192 ? Upgrade::Refused : Upgrade::NeedMore;
    used = end + 4;
    return in.substr(0, 12) == "HTTP/1.1 101" ? Upgrade::Accepted : Upgrade::Refused;
}

namespace {

void appendFrame(std::string& out, std::uint8_t opcode, std::string_view payload,
                 std::uint32_t mask)
{
    out += static_cast<char>(0x80 | opcode);
    const std::size_t size = payload.size();
    if (size < 126) {
        out += static_cast<char>(0x80 | size);
    } else if (size <= 0xFFFF) {
        out += static_cast<char>(0x80 | 126);
        out += static_cast<char>(size >> 8);
        out += static_cast<char>(size & 0xFF);
    } else {
        out += static_cast<char>(0x80 | 127);
        for (int shift = 56; shift >= 0; shift -= 8)
            out += static_cast<char>((size >> shift) & 0xFF);
    }
    const char key[4] = {static_cast<char>(mask >> 24), static_cast<char>(mask >> 16),
                         static_cast<char>(mask >> 8), static_cast<char>(mask)};
    out.append(key, 4);
    for (std::size_t i = 0; i < size; ++i)
        out += static_cast<char>(payload[i] ^ key[i % 4]);
}

} // namespace

void appendBinary(std::string& out, std::string_view payload, std::uint32_t mask)
{
    appendFrame(out, kBinary, payload, mask);
}

void appendControl(std::string& out, std::uint8_t opcode, std::string_view payload,
                   std::uint32_t mask)
{
    appendFrame(out, opcode, payload.substr(0, 125), mask);
}

Read readFrame(std::string_view in, std::size_t most, Frame& frame, std::size_t& used)
{
    if (in.size() < 2)
        return Read::NeedMore;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(in[i]); };
    if (byte(1) & 0x80)
        return Read::Broken;
    std::size_t header = 2;
    std::uint64_t size = byte(1) & 0x7F;
    const std::size_t extra = size == 126 ? 2 : size == 127 ? 8 : 0;
    if (in.size() < header + extra)
        return Read::NeedMore;
    if (extra) {
        size = 0;
        for (std::size_t i = 0; i < extra; ++i)
            size = size << 8 | byte(header + i);
        header += extra;
    }
    if (size > most)
        return Read::Broken;
    if (in.size() < header + size)
        return Read::NeedMore;
    frame.whole = (byte(0) & 0x80) != 0;
    frame.opcode = byte(0) & 0x0F;
    frame.payload = in.substr(header, static_cast<std::size_t>(size));
    used = header + static_cast<std::size_t>(size);
    return Read::Ready;
}

} // namespace volcanelle::bench::ws
