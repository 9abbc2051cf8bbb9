// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/bodybytes.h"
#include "wire/codec.h"

namespace volcanelle::wire {

using namespace body;

QByteArray encodeBody(const Message& message)
{
    return std::visit(
        Visitor{
            [](const Hello& m) {
                Writer w(Kind::Hello);
                w.magic();
                w.u16(m.version);
                w.u32(m.code);
                return w.body();
            },
            [](const Welcome& m) {
                Writer w(Kind::Welcome);
                w.magic();
                w.u16(m.version);
                w.token(m.token);
                return w.body();
            },
            [](const Rejoin& m) {
                Writer w(Kind::Rejoin);
                w.magic();
                w.u16(m.version);
                w.token(m.token);
                w.u32(m.boxesSeen);
                return w.body();
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
                w.u32(m.boxesSeen);
                return w.body();
            },
            [](const Refused& m) {
                Writer w(Kind::Refused);
                w.u8(static_cast<std::uint8_t>(m.reason));
                w.u16(m.version);
                return w.body();
            },
            [](const Ping&) { return Writer(Kind::Ping).body(); },
            [](const Bye&) { return Writer(Kind::Bye).body(); },
            [](const Click& m) {
                Writer w(Kind::Click);
                w.u8(m.index);
                return w.body();
            },
            [](const NewRound&) { return Writer(Kind::NewRound).body(); },
            [](const Quit&) { return Writer(Kind::Quit).body(); },
            [](const Count& m) {
                Writer w(Kind::Count);
                w.u8(m.given ? 1 : 0);
                w.text(m.given ? m.text : QString());
                return w.body();
            },
            [](const Cell& m) {
                Writer w(Kind::Cell);
                w.u8(m.index);
                w.u8(m.covered ? 1 : 0);
                // The picture of a covered cell never leaves the host.
                w.u8(m.covered ? 0 : m.picture);
                return w.body();
            },
            [](const Caption& m) {
                Writer w(Kind::Caption);
                w.u8(static_cast<std::uint8_t>(m.slot));
                w.u16(m.value);
                w.text(m.text);
                return w.body();
            },
            [](const Announce& m) {
                Writer w(Kind::Announce);
                w.text(m.text);
                w.text(m.title);
                return w.body();
            },
            [](const AskCount&) { return Writer(Kind::AskCount).body(); },
            [](const CountBeingChosen&) { return Writer(Kind::CountBeingChosen).body(); },
            [](const Enter& m) {
                Writer w(Kind::Enter);
                w.magic();
                w.u8(static_cast<std::uint8_t>(m.action));
                w.u16(m.version);
                w.u40(m.room);
                w.token(m.token);
                w.u32(m.boxesSeen);
                return w.body();
            },
            [](const Entered& m) {
                Writer w(Kind::Entered);
                w.magic();
                w.u16(m.version);
                w.u40(m.room);
                w.u8(m.side);
                w.token(m.token);
                return w.body();
            },
            [](const Opponent& m) {
                Writer w(Kind::Opponent);
                w.u8(m.present ? 1 : 0);
                return w.body();
            },
            [](const Farewell& m) {
                Writer w(Kind::Farewell);
                w.text(m.text);
                return w.body();
            },
        },
        message);
}

QByteArray encode(const Message& message)
{
    const QByteArray body = encodeBody(message);
    QByteArray out;
    out.reserve(4 + body.size());
    const auto size = static_cast<std::uint32_t>(body.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((size >> shift) & 0xFF));
    out.append(body);
    return out;
}

} // namespace volcanelle::wire
