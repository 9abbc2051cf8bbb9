// SPDX-License-Identifier: GPL-3.0-or-later
// The duel engine alone, with no window: a round setup (mine draw and numbering) and the
// costliest click, the one that opens 195 cells.

#include "benchview.h"
#include "engine/duel.h"
#include "engine/randomsource.h"
#include "fixeddraws.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace volcanelle;

// A whole round setup as the game does it: reseed, cover and blank the board,
// read the typed count, draw the mines and number every other cell.
void roundSetup(benchmark::State& state)
{
    const int mines = static_cast<int>(state.range(0));
    BenchView view(QString::number(mines));
    SystemRandom random;
    Duel duel(view, random);
    for (auto _ : state) {
        duel.nouvelleManche();
        benchmark::DoNotOptimize(duel.bombesRestantes());
    }
    state.counters["mines"] = duel.board().mineCount();
}
BENCHMARK(roundSetup)->Arg(30)->Arg(100)->Unit(benchmark::kMicrosecond);

// The costliest click, on cell 0 of the board of testing::twoBottomRows(). Only the click is timed:
// the covers are put back between clicks.
void worstReveal(benchmark::State& state)
{
    testing::FixedDraws draws(testing::twoBottomRows());
    BenchView view(QStringLiteral("30"));
    Duel duel(view, draws);
    duel.nouvelleManche();
    for (auto _ : state) {
        for (int index = 0; index < kCells; ++index)
            duel.board().cover(index);
        const auto start = std::chrono::steady_clock::now();
        duel.cmdCase_Click(0);
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.counters["opened"] = kCells - duel.board().coveredCount();
}
BENCHMARK(worstReveal)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
