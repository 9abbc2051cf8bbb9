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
    if (!countingOrder(classes, demands, members_) || !buildLevels(classes, demands, budget))
        return false;
    for (const int c : members_)
        sizes_.push_back(classes[static_cast<std::size_t>(c)].size());

    // Completions from each state, by mines still to place, from the end back to the start.
    const std::size_t n = members_.size();
    levels_[n].rest.assign(levels_[n].keys.size(), std::vector<double>{1.0});
    std::size_t stored = 0;
    for (std::size_t i = n; i-- > 0;) {
        Level& level = levels_[i];
        const Level& next = levels_[i + 1];
        level.rest.assign(level.keys.size(), {});
        for (const Edge& edge : level.edges) {
            const std::vector<double>& after = next.rest[static_cast<std::size_t>(edge.to)];
            std::vector<double>& here = level.rest[static_cast<std::size_t>(edge.from)];
            const std::size_t length =
                std::min(after.size() + std::size_t(edge.mines), std::size_t(mostMines_) + 1);
            if (here.size() < length) {
                stored += length - here.size();
                here.resize(length, 0.0);
            }
            const double ways = choose(sizes_[i], edge.mines);
            for (std::size_t k = std::size_t(edge.mines); k < length; ++k)
                here[k] += ways * after[k - std::size_t(edge.mines)];
            budget -= long(length);
        }
        if (budget < 0 || stored > kMostStored)
            return false;
    }
    byMines_ = levels_[0].rest.empty() ? std::vector<double>{} : levels_[0].rest[0];
    if (byMines_.empty())
        byMines_.push_back(0.0); // no arrangement fits
    return true;
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
    // ahead[s][m]: what state s weighs when m mines lie in the classes before it, summed over
    // its completions; built from the end back to the start.
    std::vector<std::vector<std::vector<double>>> ahead(n + 1);
    std::vector<std::size_t> before(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        before[i + 1] = before[i] + std::size_t(sizes_[i]);
    const auto span = [&](std::size_t i) {
        return std::min(before[i], std::size_t(mostMines_)) + 1;
    };
    ahead[n].assign(levels_[n].keys.size(), std::vector<double>(span(n), 0.0));
    for (std::size_t m = 0; m < span(n) && !ahead[n].empty(); ++m)
        ahead[n][0][m] = m < weight.size() ? weight[m] : 0.0;
    for (std::size_t i = n; i-- > 0;) {
        ahead[i].assign(levels_[i].keys.size(), std::vector<double>(span(i), 0.0));
        for (const Edge& edge : levels_[i].edges) {
            const std::vector<double>& later = ahead[i + 1][static_cast<std::size_t>(edge.to)];
            std::vector<double>& here = ahead[i][static_cast<std::size_t>(edge.from)];
            const double ways = choose(sizes_[i], edge.mines);
            for (std::size_t m = 0; m < here.size() && m + std::size_t(edge.mines) < later.size();
                 ++m)
                here[m] += ways * later[m + std::size_t(edge.mines)];
        }
    }
    // Arrangements reaching each state, by mines so far, from the start on.
    std::vector<std::vector<double>> reach{std::vector<double>{1.0}};
    for (std::size_t i = 0; i < n; ++i) {
        std::vector<std::vector<double>> next(levels_[i + 1].keys.size(),
                                              std::vector<double>(span(i + 1), 0.0));
        for (const Edge& edge : levels_[i].edges) {
            const std::vector<double>& from = reach[static_cast<std::size_t>(edge.from)];
            const std::vector<double>& later = ahead[i + 1][static_cast<std::size_t>(edge.to)];
            std::vector<double>& to = next[static_cast<std::size_t>(edge.to)];
            const double ways = choose(sizes_[i], edge.mines);
            for (std::size_t m = 0; m < from.size(); ++m) {
                const std::size_t k = m + std::size_t(edge.mines);
                if (k >= to.size())
                    break;
                to[k] += from[m] * ways;
                out[i] += from[m] * ways * edge.mines * later[k];
            }
        }
        reach = std::move(next);
        ahead[i].clear();
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
            const std::vector<double>& rest = next.rest[static_cast<std::size_t>(edge.to)];
            return after < 0 || after >= int(rest.size())
                       ? 0.0
                       : choose(sizes_[i], edge.mines) * rest[static_cast<std::size_t>(after)];
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
