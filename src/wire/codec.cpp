// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/codec.h"

#include <QStringDecoder>
#include <cstring>

namespace volcanelle::wire {

namespace {

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
    explicit Writer(Kind kind) { u8(static_cast<std::uint8_t>(kind)); }

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

    QByteArray frame() const
    {
        QByteArray out;
        const auto size = static_cast<std::uint32_t>(body_.size());
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(static_cast<char>((size >> shift) & 0xFF));
        return out + body_;
    }

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

} // namespace

QByteArray encode(const Message& message)
{
    return std::visit(
        Visitor{
            [](const Hello& m) {
                Writer w(Kind::Hello);
                w.magic();
                w.u16(m.version);
                w.u32(m.code);
                return w.frame();
            },
            [](const Welcome& m) {
                Writer w(Kind::Welcome);
                w.magic();
                w.u16(m.version);
                w.token(m.token);
                return w.frame();
            },
            [](const Rejoin& m) {
                Writer w(Kind::Rejoin);
                w.magic();
                w.u16(m.version);
                w.token(m.token);
                w.u32(m.boxesSeen);
                return w.frame();
            },
            [](const Snapshot& m) {
                Writer w(Kind::Snapshot);
                for (const std::uint8_t cell : m.cells)
                    w.u8(cell <= kLastPicture ? cell : 0);
                w.u8(m.turn <= 2 ? m.turn : 0);
                w.text(m.turnText, kMaxSnapshotText);
                for (const QString& score : m.score)
                    w.text(score, kMaxSnapshotText);
                for (std::size_t player = 0; player < 2; ++player) {
                    w.u16(m.won[player]);
                    w.text(m.wonText[player], kMaxSnapshotText);
                }
                w.text(m.minesLeft, kMaxSnapshotText);
                w.u8(m.countBeingChosen ? 1 : 0);
                return w.frame();
            },
            [](const Refused& m) {
                Writer w(Kind::Refused);
                w.u8(static_cast<std::uint8_t>(m.reason));
                w.u16(m.version);
                return w.frame();
            },
            [](const Ping&) { return Writer(Kind::Ping).frame(); },
            [](const Bye&) { return Writer(Kind::Bye).frame(); },
            [](const Click& m) {
                Writer w(Kind::Click);
                w.u8(m.index);
                return w.frame();
            },
            [](const NewRound&) { return Writer(Kind::NewRound).frame(); },
            [](const Quit&) { return Writer(Kind::Quit).frame(); },
            [](const Count& m) {
                Writer w(Kind::Count);
                w.u8(m.given ? 1 : 0);
                w.text(m.given ? m.text : QString());
                return w.frame();
            },
            [](const Cell& m) {
                Writer w(Kind::Cell);
                w.u8(m.index);
                w.u8(m.covered ? 1 : 0);
                // The picture of a covered cell never leaves the host.
                w.u8(m.covered ? 0 : m.picture);
                return w.frame();
            },
            [](const Caption& m) {
                Writer w(Kind::Caption);
                w.u8(static_cast<std::uint8_t>(m.slot));
                w.u16(m.value);
                w.text(m.text);
                return w.frame();
            },
            [](const Announce& m) {
                Writer w(Kind::Announce);
                w.text(m.text);
                w.text(m.title);
                return w.frame();
            },
            [](const AskCount&) { return Writer(Kind::AskCount).frame(); },
            [](const CountBeingChosen&) { return Writer(Kind::CountBeingChosen).frame(); },
            [](const Enter& m) {
                Writer w(Kind::Enter);
                w.magic();
                w.u8(static_cast<std::uint8_t>(m.action));
                w.u16(m.version);
                w.u40(m.room);
                w.token(m.token);
                return w.frame();
            },
            [](const Entered& m) {
                Writer w(Kind::Entered);
                w.magic();
                w.u16(m.version);
                w.u40(m.room);
                w.u8(m.side);
                w.token(m.token);
                return w.frame();
            },
            [](const Opponent& m) {
                Writer w(Kind::Opponent);
                w.u8(m.present ? 1 : 0);
                return w.frame();
            },
        },
        message);
}

std::optional<Message> decodeBody(const unsigned char* data, std::size_t size)
{
    if (size == 0 || size > kMaxFrame)
        return std::nullopt;
    Reader r(data, size);
    std::optional<Message> out;
    switch (static_cast<Kind>(r.u8())) {
    case Kind::Hello: {
        Hello m;
        if (!r.magic())
            break;
        m.version = r.u16();
        m.code = r.u32();
        if (m.code <= kLargestCode)
            out = m;
        break;
    }
    case Kind::Welcome: {
        Welcome m;
        if (!r.magic())
            break;
        m.version = r.u16();
        // Another version's welcome is read no further: its number is all the joiner needs
        // to say why it cannot play.
        if (m.version == kVersion)
            m.token = r.token();
        else
            r.skipRest();
        out = m;
        break;
    }
    case Kind::Rejoin: {
        Rejoin m;
        if (!r.magic())
            break;
        m.version = r.u16();
        m.token = r.token();
        m.boxesSeen = r.u32();
        if (!m.token.isEmpty())
            out = m;
        break;
    }
    case Kind::Snapshot: {
        Snapshot m;
        bool fits = true;
        for (std::uint8_t& cell : m.cells) {
            cell = r.u8();
            fits = fits && cell <= kLastPicture;
        }
        m.turn = r.u8();
        m.turnText = r.text(kMaxSnapshotText);
        for (QString& score : m.score)
            score = r.text(kMaxSnapshotText);
        for (std::size_t player = 0; player < 2; ++player) {
            m.won[player] = r.u16();
            m.wonText[player] = r.text(kMaxSnapshotText);
        }
        m.minesLeft = r.text(kMaxSnapshotText);
        const std::uint8_t choosing = r.u8();
        m.countBeingChosen = choosing == 1;
        if (fits && m.turn <= 2 && choosing <= 1)
            out = m;
        break;
    }
    case Kind::Refused: {
        Refused m;
        const std::uint8_t reason = r.u8();
        m.version = r.u16();
        m.reason = static_cast<Refused::Reason>(reason);
        if (reason >= 1 && reason <= 5)
            out = m;
        break;
    }
    case Kind::Ping:
        out = Ping{};
        break;
    case Kind::Bye:
        out = Bye{};
        break;
    case Kind::Click: {
        Click m;
        m.index = r.u8();
        if (m.index < kCellCount)
            out = m;
        break;
    }
    case Kind::NewRound:
        out = NewRound{};
        break;
    case Kind::Quit:
        out = Quit{};
        break;
    case Kind::Count: {
        Count m;
        const std::uint8_t given = r.u8();
        m.text = r.text();
        m.given = given == 1;
        if (given <= 1 && (m.given || m.text.isEmpty()))
            out = m;
        break;
    }
    case Kind::Cell: {
        Cell m;
        m.index = r.u8();
        const std::uint8_t covered = r.u8();
        m.picture = r.u8();
        m.covered = covered == 1;
        const bool pictureFits =
            m.covered ? m.picture == 0 : m.picture >= 1 && m.picture <= kLastPicture;
        if (m.index < kCellCount && covered <= 1 && pictureFits)
            out = m;
        break;
    }
    case Kind::Caption: {
        Caption m;
        const std::uint8_t slot = r.u8();
        m.value = r.u16();
        m.text = r.text();
        m.slot = static_cast<Caption::Slot>(slot);
        bool valueFits = m.value == 0;
        if (m.slot == Caption::Slot::Turn)
            valueFits = m.value == 1 || m.value == 2;
        else if (m.slot == Caption::Slot::Won1 || m.slot == Caption::Slot::Won2)
            valueFits = true;
        if (slot <= 5 && valueFits)
            out = m;
        break;
    }
    case Kind::Announce: {
        Announce m;
        m.text = r.text();
        m.title = r.text();
        out = m;
        break;
    }
    case Kind::AskCount:
        out = AskCount{};
        break;
    case Kind::CountBeingChosen:
        out = CountBeingChosen{};
        break;
    case Kind::Enter: {
        Enter m;
        if (!r.magic())
            break;
        const std::uint8_t action = r.u8();
        m.version = r.u16();
        m.room = r.u40();
        m.token = r.token();
        m.action = static_cast<Enter::Action>(action);
        // Opening names no room and no token, joining a room only, resuming both.
        const bool fits = (m.action == Enter::Action::Open && m.room == 0 && m.token.isEmpty()) ||
                          (m.action == Enter::Action::Join && m.token.isEmpty()) ||
                          (m.action == Enter::Action::Resume && !m.token.isEmpty());
        if (action >= 1 && action <= 3 && m.room < kRoomCodeLimit && fits)
            out = m;
        break;
    }
    case Kind::Entered: {
        Entered m;
        if (!r.magic())
            break;
        m.version = r.u16();
        m.room = r.u40();
        m.side = r.u8();
        m.token = r.token();
        if ((m.side == 1 || m.side == 2) && m.room < kRoomCodeLimit && !m.token.isEmpty())
            out = m;
        break;
    }
    case Kind::Opponent: {
        const std::uint8_t present = r.u8();
        if (present <= 1)
            out = Opponent{present == 1};
        break;
    }
    }
    if (!r.done())
        return std::nullopt;
    return out;
}

void FrameReader::append(const QByteArray& bytes)
{
    if (!broken_)
        buffer_.append(bytes);
}

FrameReader::Status FrameReader::next(Message& out)
{
    if (broken_)
        return Status::Refused;
    if (buffer_.size() < 4)
        return Status::NeedMore;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.constData());
    const std::size_t length = std::size_t{bytes[0]} << 24 | std::size_t{bytes[1]} << 16 |
                               std::size_t{bytes[2]} << 8 | std::size_t{bytes[3]};
    if (length == 0 || length > kMaxFrame) {
        broken_ = true;
        buffer_.clear();
        return Status::Refused;
    }
    if (static_cast<std::size_t>(buffer_.size()) - 4 < length)
        return Status::NeedMore;
    std::optional<Message> message = decodeBody(bytes + 4, length);
    buffer_.remove(0, static_cast<qsizetype>(length + 4));
    if (!message) {
        broken_ = true;
        buffer_.clear();
        return Status::Refused;
    }
    out = std::move(*message);
    return Status::Ready;
}

} // namespace volcanelle::wire
