// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/grid.h"

namespace volcanelle {

namespace {

struct Step {
    int rows;
    int columns;
};

// Fixed visiting order; the reveal's depth-first walk depends on it.
constexpr std::array<Step, 8> kSteps{{
    {0, 1},   // right
    {0, -1},  // left
    {-1, 0},  // up
    {1, 0},   // down
    {-1, -1}, // up-left
    {-1, 1},  // up-right
    {1, 1},   // down-right
    {1, -1},  // down-left
}};

constexpr std::array<Neighbours, kCells> buildTable()
{
    std::array<Neighbours, kCells> table{};
    for (int index = 0; index < kCells; ++index) {
        for (const Step step : kSteps) {
            const int row = rowOf(index) + step.rows;
            const int column = columnOf(index) + step.columns;
            if (row >= 0 && row < kRows && column >= 0 && column < kColumns)
                table[static_cast<std::size_t>(index)].push(indexOf(row, column));
        }
    }
    return table;
}

constexpr std::array<Neighbours, kCells> kTable = buildTable();

} // namespace

Neighbours neighbours(int index)
{
    return kTable[static_cast<std::size_t>(index)];
}

} // namespace volcanelle
