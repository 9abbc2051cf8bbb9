// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/roomcode.h"

#include <QRandomGenerator>
#include <cstring>

namespace volcanelle::net {

namespace {

// 32 characters, so that each carries five bits: eight make the 40 bits of a code.
constexpr char kAlphabet[] = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int kLength = 8;
constexpr int kBits = 5;
constexpr std::uint64_t kLimit = std::uint64_t{1} << (kLength * kBits);

} // namespace

QString roomCodeText(std::uint64_t code)
{
    QString out;
    for (int i = kLength - 1; i >= 0; --i) {
        out += QLatin1Char(kAlphabet[(code >> (i * kBits)) & 31]);
        if (i == kLength / 2)
            out += QLatin1Char('-');
    }
    return out;
}

std::optional<std::uint64_t> readRoomCode(const QString& typed)
{
    QString text = typed.trimmed().toUpper();
    if (text.size() == kLength + 1 && text[kLength / 2] == QLatin1Char('-'))
        text.remove(kLength / 2, 1);
    if (text.size() != kLength)
        return std::nullopt;
    std::uint64_t code = 0;
    for (const QChar c : text) {
        const char* found = c.unicode() < 128 && c.unicode() != 0
                                ? std::strchr(kAlphabet, static_cast<char>(c.unicode()))
                                : nullptr;
        if (!found)
            return std::nullopt;
        code = code << kBits | static_cast<std::uint64_t>(found - kAlphabet);
    }
    return code;
}

std::uint64_t drawRoomCode()
{
    return QRandomGenerator::system()->generate64() % kLimit;
}

} // namespace volcanelle::net
