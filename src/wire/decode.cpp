// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/bodybytes.h"
#include "wire/codec.h"

namespace volcanelle::wire {

using namespace body;

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
        m.boxesSeen = r.u32();
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
        m.boxesSeen = r.u32();
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
    case Kind::Farewell:
        out = Farewell{r.text()};
        break;
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
