// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"

#include <QString>
#include <random>
#include <vector>

namespace volcanelle::testing {

/// A position built to be hard: in the top 15 x `rows` corner, every other cell of every other
/// row (from row and column `offset`, 0 or 1) uncovered where it holds no mine, the rest of
/// the board covered, so that the numbers link into one large group. `mines` are strewn over
/// the whole board, none found yet.
struct HardPosition {
    Board board;
    int mines = 0;
    QString name;
};

inline HardPosition hardPosition(int rows, int offset, int mines, unsigned seed)
{
    std::mt19937 random(seed * 1000 + unsigned(rows * 10 + mines + offset));
    std::vector<bool> mine(kCells, false);
    for (int placed = 0; placed < mines;) {
        const int cell = std::uniform_int_distribution<int>(0, kCells - 1)(random);
        placed += mine[std::size_t(cell)] ? 0 : 1;
        mine[std::size_t(cell)] = true;
    }
    HardPosition position;
    position.mines = mines;
    position.name = QStringLiteral("15x%1 offset %2, %3 mines, seed %4")
                        .arg(rows)
                        .arg(offset)
                        .arg(mines)
                        .arg(seed);
    for (int index = 0; index < kCells; ++index) {
        int around = 0;
        for (const int n : neighbours(index))
            around += mine[std::size_t(n)] ? 1 : 0;
        position.board.showPicture(index, mine[std::size_t(index)] ? Picture::Mine
                                          : around                 ? countPicture(around)
                                                                   : Picture::Blank);
        if (rowOf(index) < rows && rowOf(index) % 2 == offset && columnOf(index) % 2 == offset &&
            !mine[std::size_t(index)])
            position.board.uncover(index);
    }
    return position;
}

/// Every hard position of the checks: 15 x 5 to 15 x 10, both offsets, 65 and 100 mines,
/// seeds 1 to 12.
inline std::vector<HardPosition> hardPositions()
{
    std::vector<HardPosition> all;
    for (const int mines : {65, 100})
        for (int rows = 5; rows <= 10; ++rows)
            for (const int offset : {0, 1})
                for (unsigned seed = 1; seed <= 12; ++seed)
                    all.push_back(hardPosition(rows, offset, mines, seed));
    return all;
}

} // namespace volcanelle::testing
