// SPDX-License-Identifier: GPL-3.0-or-later
#include "wirecheck.h"

#include "wire/codec.h"

namespace volcanelle::checks {

namespace {

// The board has 15 x 15 cells and the host shows a six-digit code: a message naming anything
// else must never come out of the reader, whatever it would do further on.
constexpr int kBoardCells = 15 * 15;
constexpr std::uint32_t kLargestCode = 999999;

QString checkMessage(const wire::Message& message)
{
    if (const auto* cell = std::get_if<wire::Cell>(&message)) {
        if (cell->covered && cell->picture != 0)
            return QStringLiteral("a covered cell came with a picture");
        if (cell->index >= kBoardCells)
            return QStringLiteral("a cell off the board came through");
    }
    if (const auto* click = std::get_if<wire::Click>(&message);
        click && click->index >= kBoardCells)
        return QStringLiteral("a click off the board came through");
    if (const auto* state = std::get_if<wire::Snapshot>(&message)) {
        for (const std::uint8_t cell : state->cells)
            if (cell > 10)
                return QStringLiteral("a snapshot cell with no picture came through");
        if (state->turn > 2)
            return QStringLiteral("a snapshot with a third player came through");
    }
    if (const auto* rejoin = std::get_if<wire::Rejoin>(&message);
        rejoin && rejoin->token.size() != wire::kTokenSize)
        return QStringLiteral("a comeback without a whole token came through");
    if (const auto* hello = std::get_if<wire::Hello>(&message); hello && hello->code > kLargestCode)
        return QStringLiteral("a code of seven digits came through");
    if (const auto* refused = std::get_if<wire::Refused>(&message)) {
        using Reason = wire::Refused::Reason;
        switch (refused->reason) {
        case Reason::WrongCode:
        case Reason::Busy:
        case Reason::LockedOut:
        case Reason::BadVersion:
        case Reason::NoSuchRoom:
            break;
        default:
            return QStringLiteral("a refusal without a known reason came through");
        }
    }
    const QByteArray frame = wire::encode(message);
    if (frame.size() < 5)
        return QStringLiteral("a frame shorter than its prefix and kind");
    const auto* bytes = reinterpret_cast<const unsigned char*>(frame.constData());
    const std::optional<wire::Message> again =
        wire::decodeBody(bytes + 4, static_cast<std::size_t>(frame.size() - 4));
    if (!again)
        return QStringLiteral("an accepted message wrote back to a refused frame");
    if (wire::encode(*again) != frame)
        return QStringLiteral("an accepted message read back as another");
    return {};
}

} // namespace

QString checkWireBytes(const unsigned char* data, std::size_t size)
{
    if (const std::optional<wire::Message> message = wire::decodeBody(data, size)) {
        if (QString fault = checkMessage(*message); !fault.isEmpty())
            return QStringLiteral("body: ") + fault;
    }

    // The same bytes as a stream, delivered in pieces of 1, 2, 3... bytes.
    wire::FrameReader reader;
    std::size_t offset = 0;
    std::size_t piece = 1;
    int refusals = 0;
    while (offset < size) {
        const std::size_t length = std::min(piece++, size - offset);
        reader.append(QByteArray(reinterpret_cast<const char*>(data + offset),
                                 static_cast<qsizetype>(length)));
        offset += length;
        wire::Message message;
        for (;;) {
            const wire::FrameReader::Status status = reader.next(message);
            if (status == wire::FrameReader::Status::NeedMore)
                break;
            if (status == wire::FrameReader::Status::Refused) {
                ++refusals;
                break;
            }
            if (QString fault = checkMessage(message); !fault.isEmpty())
                return QStringLiteral("stream: ") + fault;
        }
    }
    wire::Message message;
    if (refusals > 0 && reader.next(message) != wire::FrameReader::Status::Refused)
        return QStringLiteral("stream: the reader went on after refusing a frame");
    return {};
}

} // namespace volcanelle::checks
