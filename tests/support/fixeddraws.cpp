// SPDX-License-Identifier: GPL-3.0-or-later
#include "fixeddraws.h"

#include "engine/grid.h"

#include <cstring>
#include <stdexcept>

namespace volcanelle::testing {

FixedDraws::FixedDraws(std::vector<int> cells) : cells_(std::move(cells)) {}

void FixedDraws::reseed()
{
    ++reseeds_;
    next_ = 0;
}

double FixedDraws::next()
{
    if (cells_.empty())
        throw std::logic_error("FixedDraws: no cell to draw");
    const int cell = cells_[next_ % cells_.size()];
    ++next_;
    // The middle of the cell's slice of [0, 1).
    return (cell + 0.5) / kCells;
}

std::vector<int> minesOf(std::initializer_list<const char*> rows)
{
    if (rows.size() != static_cast<std::size_t>(kRows))
        throw std::invalid_argument("minesOf: a board has 15 rows");
    std::vector<int> mines;
    int row = 0;
    for (const char* line : rows) {
        if (std::strlen(line) != static_cast<std::size_t>(kColumns))
            throw std::invalid_argument("minesOf: a row has 15 cells");
        for (int column = 0; column < kColumns; ++column)
            if (line[column] == '*')
                mines.push_back(indexOf(row, column));
        ++row;
    }
    return mines;
}

std::vector<int> twoBottomRows()
{
    std::vector<int> mines;
    for (int index = indexOf(kRows - 2, 0); index < kCells; ++index)
        mines.push_back(index);
    return mines;
}

} // namespace volcanelle::testing
