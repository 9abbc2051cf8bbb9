// SPDX-License-Identifier: GPL-3.0-or-later
#include "wirecheck.h"

#include "wire/codec.h"

namespace volcanelle::checks {

namespace {

QString checkMessage(const wire::Message& message)
{
    if (const auto* cell = std::get_if<wire::Cell>(&message);
        cell && cell->covered && cell->picture != 0)
        return QStringLiteral("a covered cell came with a picture");
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
