// SPDX-License-Identifier: GPL-3.0-or-later
// Whole rounds between two players without a window: the computer's three levels, a player
// that clicks at random and the careful bench player (carefulplayer.h). Each mine layout is
// played twice, the sides swapped, so that each side starts half the rounds. Prints one line
// per pairing, then, for each level, its time per move over every position it met.
//
//   botbench [--rounds N] [--mines M] [--pairing A-vs-B]... [--cpu-time]
//
// A move's time is the time it took by the clock on the wall, or with --cpu-time the processor
// time of the thread that made it, which other work on the machine does not stretch.

#include "benchview.h"
#include "carefulplayer.h"
#include "engine/computerlevel.h"
#include "engine/duel.h"
#include "engine/randomsource.h"
#include "engine/visibleboard.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace volcanelle;

namespace {

// Layout number n of a mine count, the same from run to run and for both sides' rounds.
class LayoutDraws final : public RandomSource {
public:
    explicit LayoutDraws(int mines) : mines_(unsigned(mines)) {}
    void setLayout(int layout) { layout_ = unsigned(layout); }
    void reseed() override { engine_.seed(1'000'003u * mines_ + layout_); }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    unsigned mines_;
    unsigned layout_ = 0;
    std::mt19937 engine_;
};

// Microseconds by the chosen clock.
bool cpuTime = false;

double nowMicros()
{
    if (cpuTime) {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
    }
    return std::chrono::duration<double, std::micro>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Times {
    std::vector<double> micros;
    long exact = 0;
};

// A side of a pairing: one of the levels, or a bench player.
class Player {
public:
    Player(const std::string& name, unsigned seed, std::map<std::string, Times>& times)
        : name_(name), random_(seed), times_(times)
    {
        for (const Level level : kLevels)
            if (levelName(level).toStdString() == name)
                level_ = std::make_unique<ComputerLevel>(level, seed);
    }

    static bool known(const std::string& name)
    {
        return name == "random" || name == "careful" ||
               levelFromName(QString::fromStdString(name)).has_value();
    }

    int choose(const VisibleBoard& seen)
    {
        if (name_ == "random")
            return randomCoveredCell(seen, random_);
        if (name_ == "careful")
            return carefulCell(seen, random_);
        const double start = nowMicros();
        const int cell = level_->chooseCell(seen);
        const double stop = nowMicros();
        Times& times = times_[name_];
        times.micros.push_back(stop - start);
        times.exact += level_->lastExact() ? 1 : 0;
        return cell;
    }

private:
    std::string name_;
    std::mt19937 random_;
    std::unique_ptr<ComputerLevel> level_;
    std::map<std::string, Times>& times_;
};

void playPairing(const std::string& first, const std::string& second, int mines, int rounds,
                 std::map<std::string, Times>& times)
{
    BenchView view(QString::number(mines));
    LayoutDraws draws(mines);
    Duel duel(view, draws);
    Player a(first, 7u + unsigned(mines), times);
    Player b(second, 11u + unsigned(mines), times);
    int won = 0, lost = 0, drawn = 0;
    for (int round = 0; round < rounds; ++round) {
        // Each layout twice: the first-named player is player 1, who starts, then player 2.
        const bool firstIsOne = round % 2 == 0;
        draws.setLayout(round / 2);
        if (!duel.startDuel())
            std::abort();
        while (duel.roundInPlay()) {
            const bool firstToPlay = (duel.joueur() == 1) == firstIsOne;
            const VisibleBoard seen(duel.board(), duel.bombesRestantes());
            duel.cmdCase_Click((firstToPlay ? a : b).choose(seen));
        }
        const int mine = duel.score(firstIsOne ? 1 : 2);
        const int theirs = duel.score(firstIsOne ? 2 : 1);
        (mine > theirs ? won : mine < theirs ? lost : drawn)++;
    }
    const double rate = won + lost ? double(won) / (won + lost) : 0.0;
    std::printf("pairing %s-vs-%s mines %d rounds %d won %d lost %d drawn %d win_rate %.3f\n",
                first.c_str(), second.c_str(), mines, rounds, won, lost, drawn, rate);
    std::fflush(stdout);
}

void printTimes(int mines, std::map<std::string, Times>& all)
{
    for (const Level level : kLevels) {
        std::vector<double>& t = all[levelName(level).toStdString()].micros;
        if (t.empty())
            continue;
        std::sort(t.begin(), t.end());
        const auto at = [&t](double share) {
            return t[std::min(t.size() - 1, std::size_t(share * double(t.size())))];
        };
        std::printf("solver %s mines %d moves %zu p50_us %.0f p99_us %.0f max_us %.0f "
                    "exact_share %.4f\n",
                    qPrintable(levelName(level)), mines, t.size(), at(0.5), at(0.99), t.back(),
                    double(all[levelName(level).toStdString()].exact) / double(t.size()));
    }
    std::fflush(stdout);
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
    std::vector<std::pair<std::string, std::string>> pairings;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) {
            rounds = readNumber(argv[++i], 1, 10000000, "--rounds");
        } else if (!std::strcmp(argv[i], "--cpu-time")) {
            cpuTime = true;
        } else if (!std::strcmp(argv[i], "--mines") && i + 1 < argc) {
            mineCounts = {readNumber(argv[++i], 30, 100, "--mines")};
        } else if (!std::strcmp(argv[i], "--pairing") && i + 1 < argc) {
            const std::string pairing = argv[++i];
            const std::size_t vs = pairing.find("-vs-");
            if (vs == std::string::npos || !Player::known(pairing.substr(0, vs)) ||
                !Player::known(pairing.substr(vs + 4))) {
                std::fprintf(stderr, "botbench: a pairing is A-vs-B, each one of random, "
                                     "careful, facile, moyen, difficile\n");
                return 2;
            }
            pairings.emplace_back(pairing.substr(0, vs), pairing.substr(vs + 4));
        } else {
            std::fprintf(stderr, "usage: botbench [--rounds N] [--mines M] [--pairing A-vs-B]... "
                                 "[--cpu-time]\n");
            return 2;
        }
    }
    if (pairings.empty())
        pairings = {{"random", "facile"}, {"careful", "facile"},  {"careful", "moyen"},
                    {"moyen", "facile"},  {"difficile", "moyen"}, {"difficile", "careful"}};
    for (const int mines : mineCounts) {
        std::map<std::string, Times> times;
        for (const auto& [first, second] : pairings)
            playPairing(first, second, mines, rounds, times);
        printTimes(mines, times);
    }
    return 0;
}
