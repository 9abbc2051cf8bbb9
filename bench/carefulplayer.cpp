// SPDX-License-Identifier: GPL-3.0-or-later
#include "carefulplayer.h"

#include "engine/deduction.h"

#include <array>
#include <vector>

namespace volcanelle {

int carefulCell(const VisibleBoard& seen, std::mt19937& random)
{
    // What each number and each overlapping pair prove on the board as it is shown.
    const Deduction proofs(seen, false);
    int unknown = 0;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        if (proofs.at(index) == Deduction::Known::Mine)
            return index;
        unknown += proofs.at(index) == Deduction::Known::Unknown ? 1 : 0;
    }
    // Proven free cells stay at 0, below any cell that may hold a mine.
    std::array<double, kCells> density{};
    std::array<bool, kCells> nearNumber{};
    for (const Deduction::Rule& rule : proofs.rules()) {
        const int size = rule.cells.size();
        if (size == 0)
            continue;
        const double share = double(rule.need) / size;
        rule.cells.forEach([&](int cell) {
            const auto at = static_cast<std::size_t>(cell);
            density[at] = nearNumber[at] ? std::max(density[at], share) : share;
            nearNumber[at] = true;
        });
    }
    const double elsewhere = unknown > 0 ? double(seen.minesLeft()) / unknown : 0.0;
    for (int index = 0; index < kCells; ++index)
        if (proofs.at(index) == Deduction::Known::Unknown && !nearNumber[std::size_t(index)])
            density[static_cast<std::size_t>(index)] = elsewhere;

    std::vector<int> best;
    double top = -1.0;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        const double d = density[static_cast<std::size_t>(index)];
        if (d > top + 1e-12) {
            top = d;
            best.clear();
        }
        if (d > top - 1e-12)
            best.push_back(index);
    }
    if (best.empty())
        return -1;
    return best[std::uniform_int_distribution<std::size_t>(0, best.size() - 1)(random)];
}

} // namespace volcanelle
