// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/randomsource.h"

#include <cstdint>
#include <random>

namespace volcanelle::testing {

/// A random source that replays the same draws for the same seed, so that a long random
/// test can be run again exactly. Reseeding only counts: the draws go on along one sequence.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}

    void reseed() override { ++reseeds_; }
    /// 24 random bits, as the game's own source gives.
    double next() override { return static_cast<double>(engine_() >> 8) * 0x1.0p-24; }

    /// A whole number from `low` to `high`, both included, for the test's own choices.
    int between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    /// True once in `n` times on average.
    bool oneIn(int n) { return between(1, n) == 1; }

    int reseeds() const { return reseeds_; }

private:
    std::mt19937 engine_;
    int reseeds_ = 0;
};

} // namespace volcanelle::testing
