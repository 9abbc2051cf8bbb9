// SPDX-License-Identifier: GPL-3.0-or-later
// The solver on positions built to be hard (hardpositions.h): how long each takes to count
// exactly, and how far from that count the estimate falls when no count is allowed at all.
//
//   estimatebench

#include "engine/solver.h"
#include "hardpositions.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace volcanelle;
using namespace volcanelle::testing;

int main()
{
    std::vector<double> countMicros;
    int exact = 0, withCertain = 0, certainMissed = 0, worseChoice = 0;
    double worstOff = 0.0, sumOff = 0.0;
    long cells = 0;
    const std::vector<HardPosition> positions = hardPositions();
    for (const HardPosition& position : positions) {
        const VisibleBoard seen(position.board, position.mines);
        const auto start = std::chrono::steady_clock::now();
        const MineOdds counted = Arrangements(seen).odds();
        const auto stop = std::chrono::steady_clock::now();
        countMicros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        exact += counted.exact ? 1 : 0;

        const MineOdds estimated = Arrangements(seen, 0).odds();
        for (int index = 0; index < kCells; ++index) {
            if (!seen.isCovered(index))
                continue;
            const double off =
                std::abs(estimated.mine[std::size_t(index)] - counted.mine[std::size_t(index)]);
            worstOff = std::max(worstOff, off);
            sumOff += off;
            ++cells;
        }
        const int best = bestCell(seen, counted);
        const int chosen = bestCell(seen, estimated);
        if (counted.mine[std::size_t(best)] == 1.0) {
            ++withCertain;
            certainMissed += counted.mine[std::size_t(chosen)] == 1.0 ? 0 : 1;
        }
        worseChoice +=
            counted.mine[std::size_t(chosen)] < counted.mine[std::size_t(best)] - 1e-9 ? 1 : 0;
    }
    std::sort(countMicros.begin(), countMicros.end());
    std::printf("count positions %zu exact %d p50_us %.0f max_us %.0f\n", positions.size(), exact,
                countMicros[countMicros.size() / 2], countMicros.back());
    std::printf("estimate positions %zu worst_off %.3f mean_off %.4f certain_missed %d of %d "
                "worse_choice %d\n",
                positions.size(), worstOff, sumOff / double(cells), certainMissed, withCertain,
                worseChoice);
    return 0;
}
