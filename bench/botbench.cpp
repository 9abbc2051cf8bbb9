// SPDX-License-Identifier: GPL-3.0-or-later
// Whole rounds between two players without a window: the exact solver against a player that
// clicks at random, one that only takes mines a single number proves, and itself. Prints one
// line per pairing, and the solver's time per move over every position it met.
//
//   botbench [--rounds N] [--mines M]

#include "benchview.h"
#include "engine/duel.h"
#include "engine/randomsource.h"
#include "engine/solver.h"
#include "engine/visibleboard.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

using namespace volcanelle;

namespace {

// A mine draw that repeats from run to run.
class SeededDraws final : public RandomSource {
public:
    explicit SeededDraws(unsigned seed) : engine_(seed) {}
    void reseed() override {}
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937 engine_;
};

enum class Kind { Exact, Simple, Random };

const char* nameOf(Kind kind)
{
    return kind == Kind::Exact ? "exact" : kind == Kind::Simple ? "simple" : "random";
}

struct SolverTimes {
    std::vector<double> micros;
    long exact = 0;
};

int randomCover(const VisibleBoard& seen, std::mt19937& random)
{
    std::vector<int> covered;
    for (int index = 0; index < kCells; ++index)
        if (seen.isCovered(index))
            covered.push_back(index);
    return covered[random() % covered.size()];
}

// A mine that one number proves alone: a number whose covered neighbours are exactly the
// mines it still lacks.
int provenBySingleNumber(const VisibleBoard& seen)
{
    for (int index = 0; index < kCells; ++index) {
        const int shown = seen.seen(index);
        if (shown <= 0 || shown > 8)
            continue;
        int covered = 0;
        int found = 0;
        int some = -1;
        for (const int n : neighbours(index)) {
            if (seen.isCovered(n)) {
                ++covered;
                some = n;
            } else if (seen.seen(n) == VisibleBoard::kFoundMine) {
                ++found;
            }
        }
        if (covered > 0 && shown - found == covered)
            return some;
    }
    return -1;
}

int choose(Kind kind, const VisibleBoard& seen, std::mt19937& random, SolverTimes& times)
{
    if (kind == Kind::Random)
        return randomCover(seen, random);
    if (kind == Kind::Simple) {
        const int proven = provenBySingleNumber(seen);
        return proven >= 0 ? proven : randomCover(seen, random);
    }
    const auto start = std::chrono::steady_clock::now();
    const MineOdds odds = mineOdds(seen);
    const auto stop = std::chrono::steady_clock::now();
    times.micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    times.exact += odds.exact ? 1 : 0;
    return bestCell(seen, odds);
}

void playPairing(Kind first, Kind second, int mines, int rounds, SolverTimes& times)
{
    BenchView view(QString::number(mines));
    SeededDraws draws(1000u + unsigned(mines));
    std::mt19937 random(7u + unsigned(mines));
    Duel duel(view, draws);
    int won = 0, lost = 0, drawn = 0;
    for (int round = 0; round < rounds; ++round) {
        // The first-named player starts every other round: player 1 always starts a duel.
        const bool firstIsOne = round % 2 == 0;
        if (!duel.startDuel())
            std::abort();
        while (duel.roundInPlay()) {
            const bool firstToPlay = (duel.joueur() == 1) == firstIsOne;
            const VisibleBoard seen(duel.board(), duel.bombesRestantes());
            duel.cmdCase_Click(choose(firstToPlay ? first : second, seen, random, times));
        }
        const int mine = duel.score(firstIsOne ? 1 : 2);
        const int theirs = duel.score(firstIsOne ? 2 : 1);
        (mine > theirs ? won : mine < theirs ? lost : drawn)++;
    }
    const double rate = won + lost ? double(won) / (won + lost) : 0.0;
    std::printf("pairing %s-vs-%s mines %d rounds %d won %d lost %d drawn %d win_rate %.3f\n",
                nameOf(first), nameOf(second), mines, rounds, won, lost, drawn, rate);
    std::fflush(stdout);
}

void printTimes(int mines, SolverTimes& times)
{
    std::vector<double>& t = times.micros;
    if (t.empty())
        return;
    std::sort(t.begin(), t.end());
    const auto at = [&t](double share) {
        return t[std::min(t.size() - 1, std::size_t(share * double(t.size())))];
    };
    std::printf("solver mines %d moves %zu p50_us %.0f p99_us %.0f max_us %.0f exact_share %.4f\n",
                mines, t.size(), at(0.5), at(0.99), t.back(), double(times.exact) / t.size());
}

int readNumber(const char* text, int low, int high, const char* what)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) {
        std::fprintf(stderr, "botbench: %s must be a whole number from %d to %d\n", what, low,
                     high);
        std::exit(2);
    }
    return int(value);
}

} // namespace

int main(int argc, char* argv[])
{
    int rounds = 2000;
    std::vector<int> mineCounts{30, 65, 100};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) {
            rounds = readNumber(argv[++i], 1, 10000000, "--rounds");
        } else if (!std::strcmp(argv[i], "--mines") && i + 1 < argc) {
            mineCounts = {readNumber(argv[++i], 30, 100, "--mines")};
        } else {
            std::fprintf(stderr, "usage: botbench [--rounds N] [--mines M]\n");
            return 2;
        }
    }
    for (const int mines : mineCounts) {
        SolverTimes times;
        playPairing(Kind::Exact, Kind::Random, mines, rounds, times);
        playPairing(Kind::Exact, Kind::Simple, mines, rounds, times);
        playPairing(Kind::Exact, Kind::Exact, mines, rounds, times);
        printTimes(mines, times);
    }
    return 0;
}
