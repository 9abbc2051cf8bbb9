// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/randomsource.h"

#include <chrono>

namespace volcanelle {

void ClockRandom::reseed()
{
    // One 32-bit seed, spread by the engine's own seeding: filling its whole state through a
    // seed_seq costs more than the rest of a round setup, for no difference a player can see.
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto seed = static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)) ^ entropy_();
    engine_.seed(seed);
}

double ClockRandom::next()
{
    // 24 random bits make a single-precision value that is exact and never reaches 1
    // (generate_canonical may round up to 1).
    return static_cast<double>(engine_() >> 8) * 0x1.0p-24;
}

} // namespace volcanelle
