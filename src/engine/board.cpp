// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/board.h"

#include <algorithm>

namespace volcanelle {

Board::Board(BoardObserver* observer) : observer_(observer)
{
    covered_.fill(true);
    pictures_.fill(Picture::None);
}

void Board::cover(int index)
{
    if (covered_[at(index)])
        return;
    covered_[at(index)] = true;
    if (observer_)
        observer_->coverChanged(index, true);
}

void Board::uncover(int index)
{
    if (!covered_[at(index)])
        return;
    covered_[at(index)] = false;
    if (observer_)
        observer_->coverChanged(index, false);
}

void Board::showPicture(int index, Picture picture)
{
    if (pictures_[at(index)] == picture)
        return;
    pictures_[at(index)] = picture;
    if (observer_)
        observer_->pictureChanged(index, picture);
}

int Board::coveredCount() const
{
    return static_cast<int>(std::count(covered_.begin(), covered_.end(), true));
}

int Board::mineCount() const
{
    return static_cast<int>(std::count(pictures_.begin(), pictures_.end(), Picture::Mine));
}

} // namespace volcanelle
