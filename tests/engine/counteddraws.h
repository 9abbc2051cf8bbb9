// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fixeddraws.h"

#include <stdexcept>

namespace volcanelle::testing {

/// FixedDraws that counts the draws of each round setup, and gives up after far more draws
/// than any round needs: should the draws stop landing on the chosen cells, the test fails
/// at once instead of drawing for ever.
class CountedDraws : public FixedDraws {
public:
    using FixedDraws::FixedDraws;

    void reseed() override
    {
        FixedDraws::reseed();
        draws = 0;
    }

    double next() override
    {
        if (++draws > 100000)
            throw std::logic_error("CountedDraws: the draws no longer reach the chosen cells");
        return FixedDraws::next();
    }

    int draws = 0;
};

} // namespace volcanelle::testing
