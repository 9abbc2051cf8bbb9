// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/randomsource.h"

#include <initializer_list>
#include <vector>

namespace volcanelle::testing {

/// A random source whose draws land on chosen cells, in order: draw k gives the value r
/// whose cell is cells[k]. Once every chosen cell has been drawn, it starts again from the
/// first, so a whole round can be set up more than once with the same board.
class FixedDraws : public RandomSource {
public:
    explicit FixedDraws(std::vector<int> cells = {});

    void reseed() override;
    double next() override;

    int reseeds() const { return reseeds_; }

private:
    std::vector<int> cells_;
    std::size_t next_ = 0;
    int reseeds_ = 0;
};

/// The mines of a board drawn as 15 strings of 15 characters, '*' for a mine, anything else
/// for a free cell; the indexes come out in reading order.
std::vector<int> minesOf(std::initializer_list<const char*> rows);

/// 30 mines filling the two bottom rows (13 and 14): rows 0 to 11 are blank and row 12 is
/// numbered, so a click on cell 0 opens cells 0 to 194, the costliest reveal there is.
std::vector<int> twoBottomRows();

} // namespace volcanelle::testing
