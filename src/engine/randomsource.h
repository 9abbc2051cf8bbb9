// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace volcanelle {

/// Where the mine draw takes its chance from. Tests give exact draws; the game uses
/// SystemRandom.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// Called at the start of every round setup.
    virtual void reseed() = 0;
    /// An evenly spread value r with 0 <= r < 1.
    virtual double next() = 0;
};

/// Every value straight from the system's entropy. The other side of a network duel sees the
/// numbers around every opened cell: a generator with a seed small enough to try every value
/// would give it the whole layout, and this one has no seed at all.
class SystemRandom final : public RandomSource {
public:
    void reseed() override;
    double next() override;

private:
    // Enough words for most rounds, read from the system in one call.
    std::array<std::uint32_t, 256> words_{};
    std::size_t used_ = words_.size();
};

} // namespace volcanelle
