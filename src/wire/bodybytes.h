// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a message's body is laid out in bytes, shared by the writer (encode.cpp) and the reader
// (decode.cpp) and by nothing else.
#include "wire/codec.h"

#include <QStringDecoder>
#include <cstring>
#include <utility>

namespace volcanelle::wire::body {

// The first byte of every frame body.
enum class Kind : std::uint8_t {
    Hello = 1,
    Welcome,
    Refused,
    Ping,
    Bye,
    Click,
    NewRound,
    Quit,
    Count,
    Cell,
    Caption,
    Announce,
    AskCount,
    CountBeingChosen,
    Enter,
    Entered,
    Opponent,
    Rejoin,
    Snapshot,
    Farewell,
};

// Opens Hello and Welcome, so that a stray program talking to the port is told apart from an
// older Volcanelle.
constexpr char kMagic[4] = {'V', 'L', 'C', 'N'};
constexpr std::uint32_t kLargestCode = 999999;
constexpr std::uint8_t kLastPicture = 10;
// Each text of a Snapshot, so that its six texts always fit in one frame.
constexpr std::size_t kMaxSnapshotText = 2000;

class Writer {
public:
    explicit Writer(Kind kind)
    {
        // Most bodies fit: one allocation each.
        body_.reserve(32);
        u8(static_cast<std::uint8_t>(kind));
    }

    void u8(std::uint8_t v) { body_.append(static_cast<char>(v)); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v >> 8));
        u8(static_cast<std::uint8_t>(v));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v >> 16));
        u16(static_cast<std::uint16_t>(v));
    }
    void u40(std::uint64_t v)
    {
        u8(static_cast<std::uint8_t>(v >> 32));
        u32(static_cast<std::uint32_t>(v));
    }
    void magic() { body_.append(kMagic, sizeof kMagic); }
    void token(const QByteArray& t)
    {
        // Anything but a whole token goes as none.
        const bool whole = t.size() == kTokenSize;
        u8(whole ? kTokenSize : 0);
        if (whole)
            body_.append(t);
    }
    void text(const QString& s, std::size_t most = kMaxText)
    {
        QByteArray utf8 = s.toUtf8();
        if (static_cast<std::size_t>(utf8.size()) > most) {
            // Cut before a continuation byte never splits a character.
            qsizetype end = static_cast<qsizetype>(most);
            while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
                --end;
            utf8.truncate(end);
        }
        u16(static_cast<std::uint16_t>(utf8.size()));
        body_.append(utf8);
    }

    QByteArray body() { return std::move(body_); }

private:
    QByteArray body_;
};

// Reads a body front to back; any read past the end sets `failed` and yields zeros.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool failed = false;

    std::uint8_t u8()
    {
        if (pos_ >= size_) {
            failed = true;
            return 0;
        }
        return data_[pos_++];
    }
    std::uint16_t u16()
    {
        const std::uint16_t high = u8();
        return static_cast<std::uint16_t>(high << 8 | u8());
    }
    std::uint32_t u32()
    {
        const std::uint32_t high = u16();
        return high << 16 | u16();
    }
    std::uint64_t u40()
    {
        const std::uint64_t high = u8();
        return high << 32 | u32();
    }
    QByteArray token()
    {
        const std::uint8_t length = u8();
        if (failed || (length != 0 && length != kTokenSize) || length > size_ - pos_) {
            failed = true;
            return {};
        }
        QByteArray t(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return t;
    }
    bool magic()
    {
        if (size_ - pos_ < sizeof kMagic || std::memcmp(data_ + pos_, kMagic, sizeof kMagic)) {
            failed = true;
            return false;
        }
        pos_ += sizeof kMagic;
        return true;
    }
    QString text(std::size_t most = kMaxText)
    {
        const std::size_t length = u16();
        if (failed || length > most || length > size_ - pos_) {
            failed = true;
            return {};
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8(QByteArrayView(data_ + pos_, static_cast<qsizetype>(length)));
        pos_ += length;
        if (utf8.hasError())
            failed = true;
        return s;
    }
    /// Passes over whatever is left.
    void skipRest() { pos_ = size_; }
    /// True when the body was read exactly to its end, nothing short and nothing left over.
    bool done() const { return !failed && pos_ == size_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

template <class... F> struct Visitor : F... {
    using F::operator()...;
};
template <class... F> Visitor(F...) -> Visitor<F...>;

} // namespace volcanelle::wire::body
