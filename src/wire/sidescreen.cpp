// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/sidescreen.h"

namespace volcanelle::wire {

void SideScreen::record(const Message& message)
{
    if (const auto* cell = std::get_if<Cell>(&message)) {
        if (cell->index < kCellCount)
            snapshot_.cells[cell->index] = cell->covered ? 0 : cell->picture;
    } else if (const auto* caption = std::get_if<Caption>(&message)) {
        switch (caption->slot) {
        case Caption::Slot::Turn:
            snapshot_.turn = static_cast<std::uint8_t>(caption->value);
            snapshot_.turnText = caption->text;
            break;
        case Caption::Slot::Score1:
        case Caption::Slot::Score2:
            snapshot_.score[caption->slot == Caption::Slot::Score1 ? 0 : 1] = caption->text;
            break;
        case Caption::Slot::Won1:
        case Caption::Slot::Won2: {
            const std::size_t player = caption->slot == Caption::Slot::Won1 ? 0 : 1;
            snapshot_.won[player] = caption->value;
            snapshot_.wonText[player] = caption->text;
            break;
        }
        case Caption::Slot::MinesLeft:
            snapshot_.minesLeft = caption->text;
            snapshot_.countBeingChosen = false;
            break;
        }
    } else if (std::holds_alternative<CountBeingChosen>(message)) {
        snapshot_.countBeingChosen = true;
    } else if (const auto* box = std::get_if<Announce>(&message)) {
        boxes_.push_back(*box);
        if (boxes_.size() > kKeptBoxes)
            boxes_.erase(boxes_.begin());
        ++boxesSent_;
    }
}

std::vector<Message> SideScreen::comeback(std::uint32_t boxesSeen) const
{
    // A side cannot have seen more than was sent; a count that says so gets nothing again.
    const std::uint32_t missed = boxesSeen < boxesSent_ ? boxesSent_ - boxesSeen : 0;
    const std::size_t resent = std::min<std::size_t>(missed, boxes_.size());
    Snapshot snapshot = snapshot_;
    snapshot.boxesSeen = boxesSent_ - static_cast<std::uint32_t>(resent);
    std::vector<Message> out{snapshot};
    for (auto box = boxes_.end() - static_cast<std::ptrdiff_t>(resent); box != boxes_.end(); ++box)
        out.emplace_back(*box);
    return out;
}

} // namespace volcanelle::wire
