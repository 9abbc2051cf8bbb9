// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/solver.h"

#include "engine/deduction.h"
#include "engine/groupestimate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace volcanelle {

namespace {

// A count's odds within this of 1 (or 0) are rounding: the cell is certain.
constexpr double kRounding = 1e-9;
// Estimated odds never claim certainty.
constexpr double kMostEstimated = 1.0 - 1e-6;

double logBinomial(int n, int k)
{
    return std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0);
}

std::vector<double> convolve(const std::vector<double>& a, const std::vector<double>& b, int cap)
{
    std::vector<double> out(
        static_cast<std::size_t>(std::min<int>(cap, int(a.size() + b.size()) - 2) + 1), 0.0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size() && i + j < out.size(); ++j)
            out[i + j] += a[i] * b[j];
    return out;
}

MineOdds evenOdds(const VisibleBoard& seen)
{
    MineOdds odds;
    odds.consistent = false;
    const int covered = seen.coveredCount();
    for (int index = 0; index < kCells; ++index)
        if (seen.isCovered(index))
            odds.mine[static_cast<std::size_t>(index)] =
                std::clamp(double(seen.minesLeft()) / covered, 0.0, 1.0);
    return odds;
}

} // namespace

Arrangements::Arrangements(const VisibleBoard& seen, long groupBudget)
{
    const int covered = seen.coveredCount();
    if (covered == 0)
        return;
    const Deduction deduction(seen);
    toShare_ = seen.minesLeft() - deduction.provenMines();
    const auto giveUp = [&] {
        odds_ = evenOdds(seen);
        proven_ = {};
        free_.clear();
        for (int index = 0; index < kCells; ++index)
            if (seen.isCovered(index))
                free_.push_back(index);
        toShare_ = std::clamp(seen.minesLeft(), 0, covered);
    };
    if (!deduction.consistent() || seen.minesLeft() < 0 || seen.minesLeft() > covered) {
        giveUp();
        return;
    }

    // The numbers still open, and for each unknown cell the numbers it touches.
    std::array<std::vector<int>, kCells> touches;
    for (const Deduction::Rule& rule : deduction.rules()) {
        if (rule.cells.empty())
            continue;
        const int id = int(demands_.size());
        demands_.push_back(Demand{rule.need, {}});
        rule.cells.forEach(
            [&](int cell) { touches[static_cast<std::size_t>(cell)].push_back(id); });
    }
    std::map<std::vector<int>, int> classOf;
    int unknown = 0;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        const Deduction::Known known = deduction.at(index);
        if (known == Deduction::Known::Mine) {
            proven_.insert(index);
            odds_.mine[static_cast<std::size_t>(index)] = 1.0;
        }
        if (known != Deduction::Known::Unknown)
            continue;
        ++unknown;
        const std::vector<int>& key = touches[static_cast<std::size_t>(index)];
        if (key.empty()) {
            free_.push_back(index);
            continue;
        }
        const auto [it, added] = classOf.try_emplace(key, int(classes_.size()));
        if (added)
            classes_.push_back(CellClass{{}, key});
        classes_[static_cast<std::size_t>(it->second)].cells.push_back(index);
    }
    if (toShare_ < 0 || toShare_ > unknown) {
        giveUp();
        return;
    }
    for (std::size_t c = 0; c < classes_.size(); ++c)
        for (const int d : classes_[c].demands)
            demands_[static_cast<std::size_t>(d)].classes.push_back(int(c));

    // Independent groups, each gathered through shared numbers, each counted on its own.
    std::vector<bool> listed(classes_.size(), false);
    for (std::size_t start = 0; start < classes_.size(); ++start) {
        if (listed[start])
            continue;
        std::vector<int> members{int(start)};
        listed[start] = true;
        for (std::size_t next = 0; next < members.size(); ++next)
            for (const int d : classes_[static_cast<std::size_t>(members[next])].demands)
                for (const int c : demands_[static_cast<std::size_t>(d)].classes)
                    if (!listed[static_cast<std::size_t>(c)]) {
                        listed[static_cast<std::size_t>(c)] = true;
                        members.push_back(c);
                    }
        Group group;
        long budget = groupBudget;
        if (!group.count.count(classes_, demands_, members, toShare_, budget)) {
            group.exact = false;
            group.members = members;
            GroupEstimate estimate =
                estimateGroup(classes_, demands_, members, double(toShare_) / unknown);
            group.estimatedByMines = std::move(estimate.byMines);
            group.estimatedMines = std::move(estimate.classMines);
        }
        groups_.push_back(std::move(group));
    }
    findOdds();
    if (!odds_.consistent)
        giveUp();
}

void Arrangements::findOdds()
{
    odds_.exact =
        std::all_of(groups_.begin(), groups_.end(), [](const Group& g) { return g.exact; });
    // What k mines in the groups weigh: binomial(free cells, the rest) ways for the free cells,
    // scaled by the largest that some arrangement reaches so that no weight overflows.
    const int freeCells = int(free_.size());
    std::vector<double> all{1.0};
    for (const Group& group : groups_)
        all = convolve(all, group.byMines(), toShare_);
    std::vector<double> weight(static_cast<std::size_t>(toShare_) + 1, 0.0);
    double top = -std::numeric_limits<double>::infinity();
    for (int k = 0; k < int(all.size()); ++k)
        if (toShare_ - k <= freeCells && all[static_cast<std::size_t>(k)] > 0)
            top = std::max(top, logBinomial(freeCells, toShare_ - k));
    for (int k = 0; k <= toShare_; ++k)
        if (toShare_ - k <= freeCells && std::isfinite(top))
            weight[static_cast<std::size_t>(k)] =
                std::exp(logBinomial(freeCells, toShare_ - k) - top);

    double total = 0.0;
    double freeMines = 0.0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        total += all[k] * weight[k];
        freeMines += all[k] * weight[k] * double(toShare_ - int(k));
    }
    if (!(total > 0.0)) {
        odds_.consistent = false;
        return;
    }
    for (const int index : free_)
        odds_.mine[static_cast<std::size_t>(index)] = freeMines / total / freeCells;

    // For each group, the other groups joined: groups before it times groups after it.
    std::vector<std::vector<double>> after(groups_.size() + 1, std::vector<double>{1.0});
    for (std::size_t g = groups_.size(); g-- > 0;)
        after[g] = convolve(after[g + 1], groups_[g].byMines(), toShare_);
    std::vector<double> before{1.0};
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Group& group = groups_[g];
        const std::vector<double> others = convolve(before, after[g + 1], toShare_);
        before = convolve(before, group.byMines(), toShare_);
        // What one mine count of this group weighs once joined with the rest of the board.
        std::vector<double> joined(group.byMines().size(), 0.0);
        for (std::size_t k = 0; k < joined.size() && k < weight.size(); ++k)
            for (std::size_t j = 0; j < others.size() && k + j < weight.size(); ++j)
                joined[k] += others[j] * weight[k + j];
        const std::vector<double> mines = group.classMines(joined);
        const std::vector<int>& members = group.order();
        for (std::size_t i = 0; i < members.size(); ++i) {
            const CellClass& cls = classes_[static_cast<std::size_t>(members[i])];
            double p = std::clamp(mines[i] / total / cls.size(), 0.0, 1.0);
            if (group.exact)
                p = p > 1.0 - kRounding ? 1.0 : p < kRounding ? 0.0 : p;
            else
                p = std::min(p, kMostEstimated);
            for (const int index : cls.cells)
                odds_.mine[static_cast<std::size_t>(index)] = p;
        }
    }

    // Weights for drawing layouts group by group.
    tail_.assign(groups_.size() + 1, {});
    tail_.back() = weight;
    for (std::size_t g = groups_.size(); g-- > 0;) {
        const std::vector<double>& counts = groups_[g].byMines();
        tail_[g].assign(weight.size(), 0.0);
        for (std::size_t m = 0; m < weight.size(); ++m)
            for (std::size_t k = 0; k < counts.size() && m + k < weight.size(); ++k)
                tail_[g][m] += counts[k] * tail_[g + 1][m + k];
    }
}

std::vector<double> Arrangements::Group::classMines(const std::vector<double>& joined) const
{
    if (exact)
        return count.classMines(joined);
    std::vector<double> out(members.size(), 0.0);
    for (std::size_t i = 0; i < members.size(); ++i)
        for (std::size_t k = 0; k < joined.size() && k < estimatedMines[i].size(); ++k)
            out[i] += estimatedMines[i][k] * joined[k];
    return out;
}

CellSet Arrangements::draw(std::mt19937& random) const
{
    CellSet layout = proven_;
    if (!odds_.consistent) {
        pickCells(free_, toShare_, random, layout);
        return layout;
    }
    int placed = 0;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Group& group = groups_[g];
        const std::vector<double>& counts = group.byMines();
        const std::vector<double>& later = tail_[g + 1];
        double total = 0.0;
        for (std::size_t k = 0; k < counts.size() && placed + k < later.size(); ++k)
            total += counts[k] * later[placed + k];
        double pick = std::uniform_real_distribution<double>(0.0, total)(random);
        int mines = 0;
        for (std::size_t k = 0; k < counts.size() && placed + k < later.size(); ++k) {
            const double w = counts[k] * later[placed + k];
            if (w <= 0.0)
                continue;
            mines = int(k);
            if ((pick -= w) < 0.0)
                break;
        }
        placed += mines;
        if (group.exact) {
            const std::vector<int> perClass = group.count.draw(mines, random);
            for (std::size_t i = 0; i < perClass.size(); ++i)
                pickCells(classes_[static_cast<std::size_t>(group.order()[i])].cells, perClass[i],
                          random, layout);
            continue;
        }
        // Estimated: the cells with the most likely ones first, each key drawn as u^(1/p).
        std::vector<std::pair<double, int>> keyed;
        for (const int c : group.members)
            for (const int index : classes_[static_cast<std::size_t>(c)].cells) {
                const double p = std::max(odds_.mine[static_cast<std::size_t>(index)], 1e-9);
                const double u = std::uniform_real_distribution<double>(0.0, 1.0)(random);
                keyed.emplace_back(std::pow(u, 1.0 / p), index);
            }
        std::sort(keyed.begin(), keyed.end(), std::greater<>());
        for (int i = 0; i < mines && i < int(keyed.size()); ++i)
            layout.insert(keyed[static_cast<std::size_t>(i)].second);
    }
    pickCells(free_, toShare_ - placed, random, layout);
    return layout;
}

// `mines` of `cells`, every choice as likely.
void Arrangements::pickCells(const std::vector<int>& cells, int mines, std::mt19937& random,
                             CellSet& layout) const
{
    std::vector<int> pool = cells;
    for (int i = 0; i < mines && i < int(pool.size()); ++i) {
        const int j = std::uniform_int_distribution<int>(i, int(pool.size()) - 1)(random);
        std::swap(pool[static_cast<std::size_t>(i)], pool[static_cast<std::size_t>(j)]);
        layout.insert(pool[static_cast<std::size_t>(i)]);
    }
}

MineOdds mineOdds(const VisibleBoard& seen)
{
    return Arrangements(seen).odds();
}

int bestCell(const VisibleBoard& seen, const MineOdds& odds)
{
    constexpr double kSame = 1e-9;
    int best = -1;
    int bestCovered = 0;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        int coveredAround = 0;
        for (const int n : neighbours(index))
            coveredAround += seen.isCovered(n) ? 1 : 0;
        const double p = odds.mine[static_cast<std::size_t>(index)];
        const double bestP = best < 0 ? -1.0 : odds.mine[static_cast<std::size_t>(best)];
        if (best < 0 || p > bestP + kSame || (p > bestP - kSame && coveredAround < bestCovered)) {
            best = index;
            bestCovered = coveredAround;
        }
    }
    return best;
}

} // namespace volcanelle
