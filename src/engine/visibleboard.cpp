// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/visibleboard.h"

#include <algorithm>

namespace volcanelle {

VisibleBoard::VisibleBoard(const Board& board, int minesLeft) : minesLeft_(minesLeft)
{
    for (int index = 0; index < kCells; ++index) {
        std::int8_t shown = kCovered;
        if (!board.isCovered(index)) {
            const Picture picture = board.picture(index);
            const int number = pictureNumber(picture);
            // A picture that no round gives (None) reads as blank: it tells of no mine.
            shown = picture == Picture::Mine     ? kFoundMine
                    : number >= 1 && number <= 8 ? static_cast<std::int8_t>(number)
                                                 : std::int8_t{0};
        }
        cells_[static_cast<std::size_t>(index)] = shown;
    }
}

int VisibleBoard::coveredCount() const
{
    return static_cast<int>(std::count(cells_.begin(), cells_.end(), kCovered));
}

} // namespace volcanelle
