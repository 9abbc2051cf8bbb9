// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>

namespace volcanelle {

/// Where the mine draw takes its chance from. Tests give exact draws; the game uses
/// ClockRandom.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// Called at the start of every round setup.
    virtual void reseed() = 0;
    /// An evenly spread value r with 0 <= r < 1.
    virtual double next() = 0;
};

/// Mersenne Twister reseeded from a high-resolution clock mixed with the system's entropy.
class ClockRandom final : public RandomSource {
public:
    void reseed() override;
    double next() override;

private:
    // Opened once: opening it probes the processor, which costs more than a whole round setup.
    std::random_device entropy_;
    std::mt19937 engine_;
};

} // namespace volcanelle
