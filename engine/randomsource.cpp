#include "randomsource.h"

#include <chrono>

namespace volcanelle {

void ClockRandom::reseed()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::random_device entropy;
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32),
                       entropy(), entropy()};
    engine_.seed(seed);
}

double ClockRandom::next()
{
    // 24 random bits make a single-precision value that is exact and never reaches 1
    // (generate_canonical may round up to 1).
    return static_cast<double>(engine_() >> 8) * 0x1.0p-24;
}

} // namespace volcanelle
