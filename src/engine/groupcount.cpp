// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/groupcount.h"

#include "engine/countingorder.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>

namespace volcanelle {

namespace {

// Beyond this many stored counts (about 16 MiB) a group is estimated instead.
constexpr std::size_t kMostStored = 2'000'000;

// binomial(n, k) for the sizes of a class: every cell of a class touches one number, so a
// class has at most eight cells.
double choose(int n, int k)
{
    static const auto table = [] {
        std::array<std::array<double, 9>, 9> t{};
        for (std::size_t a = 0; a < 9; ++a) {
            t[a][0] = 1.0;
            for (std::size_t b = 1; b <= a; ++b)
                t[a][b] = t[a - 1][b - 1] + (b < a ? t[a - 1][b] : 0.0);
        }
        return t;
    }();
    return table[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)];
}

} // namespace

bool GroupCount::count(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                       std::vector<int> members, int mostMines, long& budget)
{
    members_ = std::move(members);
    mostMines_ = mostMines;
    levels_.clear();
    byMines_.clear();
    sizes_.clear();
    if (!countingOrder(classes, demands, members_) || !buildLevels(classes, demands, budget))
        return false;
    for (const int c : members_)
        sizes_.push_back(classes[static_cast<std::size_t>(c)].size());

    // Completions from each state, by mines still to place, from the end back to the start.
    const std::size_t n = members_.size();
    levels_[n].restBands.assign(levels_[n].keys.size(), Band{0, 0, 0});
    levels_[n].rest.assign(levels_[n].keys.size(), 1.0);
    std::size_t stored = 0;
    for (std::size_t i = n; i-- > 0;) {
        Level& level = levels_[i];
        const Level& next = levels_[i + 1];
        level.restBands.assign(level.keys.size(), Band{});
        stored += spread(level.edges, next.restBands, level.restBands, false);
        if (stored > kMostStored)
            return false;
        level.rest.assign(stored, 0.0);
        for (const Edge& edge : level.edges) {
            const Band& later = next.restBands[static_cast<std::size_t>(edge.to)];
            const Band& here = level.restBands[static_cast<std::size_t>(edge.from)];
            const double ways = choose(sizes_[i], edge.mines);
            for (int k = later.low; k <= later.high && k + edge.mines <= here.high; ++k)
                level.rest[here.at + std::size_t(k + edge.mines - here.low)] +=
                    ways * next.rest[later.at + std::size_t(k - later.low)];
            budget -= long(later.size());
        }
        stored = 0;
        if (budget < 0)
            return false;
    }
    const Band& whole = levels_[0].restBands[0];
    byMines_.assign(std::size_t(std::max(whole.high, 0)) + 1, 0.0);
    for (int k = whole.low; k <= whole.high; ++k)
        byMines_[std::size_t(k)] = levels_[0].rest[whole.at + std::size_t(k - whole.low)];
    return true;
}

std::size_t GroupCount::spread(const std::vector<Edge>& edges, const Bands& from, Bands& to,
                               bool forward) const
{
    for (const Edge& edge : edges) {
        const Band& source = from[static_cast<std::size_t>(forward ? edge.from : edge.to)];
        Band& target = to[static_cast<std::size_t>(forward ? edge.to : edge.from)];
        if (source.low > source.high || source.low + edge.mines > mostMines_)
            continue;
        const int low = source.low + edge.mines;
        const int high = std::min(source.high + edge.mines, mostMines_);
        if (target.low > target.high) {
            target.low = low;
            target.high = high;
        } else {
            target.low = std::min(target.low, low);
            target.high = std::max(target.high, high);
        }
    }
    std::size_t at = 0;
    for (Band& band : to) {
        band.at = at;
        at += band.size();
    }
    return at;
}

bool GroupCount::buildLevels(const std::vector<CellClass>& classes,
                             const std::vector<Demand>& demands, long& budget)
{
    const std::size_t n = members_.size();
    std::vector<int> level(classes.size(), -1);
    for (std::size_t i = 0; i < n; ++i)
        level[static_cast<std::size_t>(members_[i])] = int(i);
    std::vector<int> first(demands.size(), -1), last(demands.size(), -1);
    for (std::size_t i = 0; i < n; ++i)
        for (const int d : classes[static_cast<std::size_t>(members_[i])].demands) {
            const auto at = static_cast<std::size_t>(d);
            first[at] = first[at] < 0 ? int(i) : first[at];
            last[at] = int(i);
        }
    // The numbers open before each level, in a fixed order that gives each its four bits.
    std::vector<std::vector<int>> open(n + 1);
    for (std::size_t d = 0; d < demands.size(); ++d)
        for (int i = first[d] + 1; first[d] >= 0 && i <= last[d]; ++i)
            open[static_cast<std::size_t>(i)].push_back(int(d));
    const auto slot = [&open](std::size_t i, int d) {
        const std::vector<int>& list = open[i];
        return int(std::find(list.begin(), list.end(), d) - list.begin());
    };

    levels_.assign(n + 1, Level{});
    levels_[0].keys.push_back(0);
    std::array<int, kMostOpenNumbers> needs{};
    for (std::size_t i = 0; i < n; ++i) {
        const CellClass& cls = classes[static_cast<std::size_t>(members_[i])];
        const std::size_t touched = cls.demands.size();
        // For each number of the class: where its need is read, and how many cells of later
        // classes can still take its mines.
        std::vector<int> from(touched), room(touched, 0), fixed(touched, -1);
        std::vector<char> closes(touched, 0);
        for (std::size_t j = 0; j < touched; ++j) {
            const int d = cls.demands[j];
            const Demand& demand = demands[static_cast<std::size_t>(d)];
            if (first[static_cast<std::size_t>(d)] == int(i))
                fixed[j] = demand.need;
            else
                from[j] = slot(i, d);
            for (const int c : demand.classes)
                if (level[static_cast<std::size_t>(c)] > int(i))
                    room[j] += classes[static_cast<std::size_t>(c)].size();
            closes[j] = last[static_cast<std::size_t>(d)] == int(i);
        }
        // Where each number open after this class takes its need from: the class (j) or the
        // state before (-1 - slot).
        std::vector<int> source;
        for (const int d : open[i + 1]) {
            const auto j = std::find(cls.demands.begin(), cls.demands.end(), d);
            source.push_back(j != cls.demands.end() ? int(j - cls.demands.begin())
                                                    : -1 - slot(i, d));
        }

        Level& here = levels_[i];
        Level& next = levels_[i + 1];
        std::unordered_map<std::uint64_t, int> index;
        std::array<int, 8> after{};
        here.firstEdge.assign(here.keys.size() + 1, 0);
        for (std::size_t s = 0; s < here.keys.size(); ++s) {
            here.firstEdge[s] = int(here.edges.size());
            for (std::size_t j = 0; j < open[i].size(); ++j)
                needs[j] = int((here.keys[s] >> (4 * j)) & 15);
            for (int x = 0; x <= cls.size(); ++x) {
                bool fits = true, over = false;
                for (std::size_t j = 0; j < touched && !over; ++j) {
                    const int need =
                        (fixed[j] >= 0 ? fixed[j] : needs[static_cast<std::size_t>(from[j])]) - x;
                    over = need < 0;
                    fits = fits && need <= room[j] && (!closes[j] || need == 0);
                    after[j] = need;
                }
                if (over)
                    break;
                if (!fits)
                    continue;
                std::uint64_t key = 0;
                for (std::size_t j = 0; j < source.size(); ++j) {
                    const int need = source[j] >= 0
                                         ? after[static_cast<std::size_t>(source[j])]
                                         : needs[static_cast<std::size_t>(-1 - source[j])];
                    key |= std::uint64_t(need) << (4 * j);
                }
                const auto [it, added] = index.try_emplace(key, int(next.keys.size()));
                if (added)
                    next.keys.push_back(key);
                here.edges.push_back({int(s), it->second, x});
            }
        }
        here.firstEdge[here.keys.size()] = int(here.edges.size());
        budget -= long(here.edges.size());
        if (budget < 0)
            return false;
    }
    return true;
}

std::vector<double> GroupCount::classMines(const std::vector<double>& weight) const
{
    const std::size_t n = members_.size();
    std::vector<double> out(n, 0.0);
    if (levels_.empty())
        return out;
    // The mines that may lie before each state, from the start on.
    std::vector<Bands> reachable(n + 1);
    std::vector<std::size_t> stored(n + 1, 1);
    reachable[0].assign(1, Band{0, 0, 0});
    for (std::size_t i = 0; i < n; ++i) {
        reachable[i + 1].assign(levels_[i + 1].keys.size(), Band{});
        stored[i + 1] = spread(levels_[i].edges, reachable[i], reachable[i + 1], true);
    }
    // ahead[i]: what each state weighs with m mines before it, summed over its completions;
    // built from the end back to the start.
    std::vector<std::vector<double>> ahead(n + 1);
    ahead[n].assign(stored[n], 0.0);
    for (const Band& band : reachable[n])
        for (int m = band.low; m <= band.high; ++m)
            ahead[n][band.at + std::size_t(m - band.low)] =
                std::size_t(m) < weight.size() ? weight[std::size_t(m)] : 0.0;
    for (std::size_t i = n; i-- > 0;) {
        ahead[i].assign(stored[i], 0.0);
        for (const Edge& edge : levels_[i].edges) {
            const Band& here = reachable[i][static_cast<std::size_t>(edge.from)];
            const Band& later = reachable[i + 1][static_cast<std::size_t>(edge.to)];
            const double ways = choose(sizes_[i], edge.mines);
            for (int m = here.low; m <= here.high && m + edge.mines <= later.high; ++m)
                ahead[i][here.at + std::size_t(m - here.low)] +=
                    ways * ahead[i + 1][later.at + std::size_t(m + edge.mines - later.low)];
        }
    }
    // Arrangements reaching each state, by mines so far, from the start on; each edge adds
    // its mines, weighed by what follows, to its class.
    std::vector<double> reach{1.0};
    for (std::size_t i = 0; i < n; ++i) {
        std::vector<double> next(stored[i + 1], 0.0);
        for (const Edge& edge : levels_[i].edges) {
            const Band& here = reachable[i][static_cast<std::size_t>(edge.from)];
            const Band& later = reachable[i + 1][static_cast<std::size_t>(edge.to)];
            const double ways = choose(sizes_[i], edge.mines);
            double weighed = 0.0;
            for (int m = here.low; m <= here.high && m + edge.mines <= later.high; ++m) {
                const double arrangements = reach[here.at + std::size_t(m - here.low)] * ways;
                const std::size_t k = later.at + std::size_t(m + edge.mines - later.low);
                next[k] += arrangements;
                weighed += arrangements * ahead[i + 1][k];
            }
            out[i] += weighed * edge.mines;
        }
        reach = std::move(next);
        ahead[i + 1].clear();
    }
    return out;
}

std::vector<int> GroupCount::draw(int mines, std::mt19937& random) const
{
    std::vector<int> out(members_.size(), 0);
    int state = 0;
    int left = mines;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        const Level& level = levels_[i];
        const Level& next = levels_[i + 1];
        const auto weightOf = [&](const Edge& edge) {
            const int after = left - edge.mines;
            return choose(sizes_[i], edge.mines) * next.restOf(edge.to, after);
        };
        const auto begin = level.edges.begin() + level.firstEdge[static_cast<std::size_t>(state)];
        const auto end = level.edges.begin() + level.firstEdge[static_cast<std::size_t>(state) + 1];
        double total = 0.0;
        for (auto edge = begin; edge != end; ++edge)
            total += weightOf(*edge);
        double pick = std::uniform_real_distribution<double>(0.0, total)(random);
        auto chosen = begin;
        for (auto edge = begin; edge != end; ++edge) {
            const double w = weightOf(*edge);
            if (w <= 0.0)
                continue;
            chosen = edge;
            if ((pick -= w) < 0.0)
                break;
        }
        out[i] = chosen->mines;
        left -= chosen->mines;
        state = chosen->to;
    }
    return out;
}

} // namespace volcanelle
