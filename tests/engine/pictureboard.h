// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"
#include "engine/visibleboard.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace volcanelle::testing {

/// A board drawn row by row from the top: '#' a covered free cell, '*' a covered mine, 'x' a
/// mine already found, '.' an uncovered free cell, which shows the number of mines around
/// it. Rows and cells not drawn are uncovered free cells.
inline Board pictureBoard(std::initializer_list<const char*> rows)
{
    std::vector<char> at(kCells, '.');
    int row = 0;
    for (const char* line : rows) {
        const std::string text(line);
        for (int column = 0; column < kColumns && column < int(text.size()); ++column)
            at[std::size_t(indexOf(row, column))] = text[std::size_t(column)];
        ++row;
    }
    const auto isMine = [&at](int index) {
        return at[std::size_t(index)] == '*' || at[std::size_t(index)] == 'x';
    };
    Board board;
    for (int index = 0; index < kCells; ++index) {
        int around = 0;
        for (const int n : neighbours(index))
            around += isMine(n) ? 1 : 0;
        board.showPicture(index, isMine(index) ? Picture::Mine
                                 : around      ? countPicture(around)
                                               : Picture::Blank);
        const char c = at[std::size_t(index)];
        if (c == '.' || c == 'x')
            board.uncover(index);
    }
    return board;
}

/// What a player sees of pictureBoard(rows), the mines under covers counted as left.
inline VisibleBoard pictureSeen(std::initializer_list<const char*> rows)
{
    const Board board = pictureBoard(rows);
    int left = 0;
    for (int index = 0; index < kCells; ++index)
        left += board.isCovered(index) && board.isMine(index) ? 1 : 0;
    return VisibleBoard(board, left);
}

} // namespace volcanelle::testing
