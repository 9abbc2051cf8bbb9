// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/randomsource.h"

#include <random>

namespace volcanelle::testing {

/// The game's kind of draw (Mersenne Twister, 24-bit values in [0, 1)) from a fixed seed,
/// so that a test over many random rounds is the same on every run. Reseeding only counts:
/// going back to the seed at every round would replay the same board.
class SeededDraws : public RandomSource {
public:
    explicit SeededDraws(unsigned seed) : engine_(seed) {}

    void reseed() override { ++reseeds; }
    double next() override { return static_cast<double>(engine_() >> 8) * 0x1.0p-24; }

    int reseeds = 0;

private:
    std::mt19937 engine_;
};

} // namespace volcanelle::testing
