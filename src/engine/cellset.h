// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/grid.h"

#include <array>
#include <bit>
#include <cstdint>

namespace volcanelle {

/// A set of board cells, one bit per cell: the reasoning about numbers intersects and counts
/// such sets thousands of times per move, so it stays four machine words.
class CellSet {
public:
    void insert(int index) { words_[word(index)] |= bit(index); }
    void erase(int index) { words_[word(index)] &= ~bit(index); }
    bool contains(int index) const { return (words_[word(index)] & bit(index)) != 0; }

    int size() const
    {
        int count = 0;
        for (const std::uint64_t w : words_)
            count += std::popcount(w);
        return count;
    }
    bool empty() const { return (words_[0] | words_[1] | words_[2] | words_[3]) == 0; }

    /// The cells of both sets.
    CellSet operator&(const CellSet& other) const
    {
        CellSet out;
        for (std::size_t i = 0; i < kWords; ++i)
            out.words_[i] = words_[i] & other.words_[i];
        return out;
    }
    /// The cells of this set that are not in `other`.
    CellSet without(const CellSet& other) const
    {
        CellSet out;
        for (std::size_t i = 0; i < kWords; ++i)
            out.words_[i] = words_[i] & ~other.words_[i];
        return out;
    }
    bool operator==(const CellSet&) const = default;

    /// Calls `visit(index)` for each cell, in increasing order.
    template <typename Visit> void forEach(Visit&& visit) const
    {
        for (std::size_t i = 0; i < kWords; ++i)
            for (std::uint64_t w = words_[i]; w != 0; w &= w - 1)
                visit(int(i * 64) + std::countr_zero(w));
    }

private:
    static constexpr std::size_t kWords = (kCells + 63) / 64;
    static std::size_t word(int index) { return static_cast<std::size_t>(index) / 64; }
    static std::uint64_t bit(int index) { return std::uint64_t{1} << (index % 64); }

    std::array<std::uint64_t, kWords> words_{};
};

} // namespace volcanelle
