// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"
#include "engine/picture.h"

#include <array>

namespace volcanelle {

class BoardObserver;

/// The 225 cells of the board: for each one, whether its cover is on, and the picture that
/// lies under the cover. What a cell holds is only the picture it was last given: a cell is
/// a mine while it shows the mine picture, and blank while it shows the blank picture.
///
/// Every change is passed on to the observer, so that the window's covers and pictures
/// always show the board as it is. All indexes must satisfy isCell().
class Board {
public:
    explicit Board(BoardObserver* observer = nullptr);

    void cover(int index);
    void uncover(int index);
    bool isCovered(int index) const { return covered_[at(index)]; }

    void showPicture(int index, Picture picture);
    Picture picture(int index) const { return pictures_[at(index)]; }
    bool isMine(int index) const { return picture(index) == Picture::Mine; }
    bool isBlank(int index) const { return picture(index) == Picture::Blank; }

    int coveredCount() const;
    int mineCount() const;

private:
    static std::size_t at(int index) { return static_cast<std::size_t>(index); }

    BoardObserver* observer_;
    std::array<bool, kCells> covered_;
    std::array<Picture, kCells> pictures_;
};

/// Told of every change of a cell, so that a view can follow the board.
class BoardObserver {
public:
    virtual ~BoardObserver() = default;
    virtual void coverChanged(int index, bool covered) = 0;
    virtual void pictureChanged(int index, Picture picture) = 0;
};

} // namespace volcanelle
