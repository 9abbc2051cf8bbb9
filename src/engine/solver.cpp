// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/solver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <vector>

namespace volcanelle {

namespace {

// How many trial placements one position may cost before a group is estimated instead of
// counted: about ten milliseconds at worst.
constexpr long kPlacementBudget = 500'000;

// A shown number: how many mines its covered neighbours still hide.
struct Constraint {
    int need = 0;
    int cells = 0;
    std::vector<int> classes;
};

// Covered cells that touch exactly the same numbers: only how many of them hold a mine
// matters, each count standing for binomial(size, mines) arrangements.
struct CellClass {
    std::vector<int> cells;
    std::vector<int> constraints;
    int size() const { return static_cast<int>(cells.size()); }
};

// A group's arrangements by number of mines, and for each class the mines it holds summed
// over those arrangements.
struct GroupCount {
    std::vector<int> classes;
    std::vector<double> byMines;
    std::vector<std::vector<double>> classMines;
};

double binomial(int n, int k)
{
    if (k < 0 || k > n)
        return 0.0;
    return std::round(
        std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0)));
}

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

// Depth-first count of one group's arrangements, class by class in an order where each
// class shares a number with an earlier one, so that numbers are settled early and wrong
// branches cut short.
class GroupCounter {
public:
    GroupCounter(const std::vector<CellClass>& classes, std::vector<Constraint>& constraints,
                 int minesLeft, long& budget)
        : classes_(classes), constraints_(constraints), minesLeft_(minesLeft), budget_(budget)
    {
    }

    /// False when the budget ran out.
    bool count(GroupCount& group)
    {
        group_ = &group;
        int cells = 0;
        for (const int c : group.classes)
            cells += classes_[static_cast<std::size_t>(c)].size();
        group.byMines.assign(static_cast<std::size_t>(cells + 1), 0.0);
        group.classMines.assign(group.classes.size(),
                                std::vector<double>(static_cast<std::size_t>(cells + 1), 0.0));
        placed_.assign(group.classes.size(), 0);
        return place(0, 0, 1.0);
    }

private:
    bool place(std::size_t position, int mines, double ways)
    {
        GroupCount& group = *group_;
        if (position == group.classes.size()) {
            group.byMines[static_cast<std::size_t>(mines)] += ways;
            for (std::size_t i = 0; i < placed_.size(); ++i)
                group.classMines[i][static_cast<std::size_t>(mines)] += ways * placed_[i];
            return true;
        }
        const CellClass& cls = classes_[static_cast<std::size_t>(group.classes[position])];
        const int size = cls.size();
        for (int x = 0; x <= size && mines + x <= minesLeft_; ++x) {
            if (--budget_ < 0)
                return false;
            bool fits = true;
            for (const int c : cls.constraints) {
                Constraint& k = constraints_[static_cast<std::size_t>(c)];
                k.need -= x;
                k.cells -= size;
                fits = fits && k.need >= 0 && k.need <= k.cells;
            }
            bool finished = true;
            if (fits) {
                placed_[position] = x;
                finished = place(position + 1, mines + x, ways * binomial(size, x));
            }
            for (const int c : cls.constraints) {
                Constraint& k = constraints_[static_cast<std::size_t>(c)];
                k.need += x;
                k.cells += size;
            }
            if (!finished)
                return false;
        }
        return true;
    }

    const std::vector<CellClass>& classes_;
    std::vector<Constraint>& constraints_;
    int minesLeft_;
    long& budget_;
    GroupCount* group_ = nullptr;
    std::vector<int> placed_;
};

// When a group cannot be counted: its cells are taken as free to hold any number of mines
// (binomial(cells, k) ways for k mines), so that the group always fits the count of mines
// left, and the mines it gets are shared among its classes by the mean share their numbers
// ask of their covered cells.
void estimate(const std::vector<CellClass>& classes, const std::vector<Constraint>& constraints,
              GroupCount& group)
{
    std::vector<double> share;
    double expected = 0.0;
    int cells = 0;
    for (const int c : group.classes) {
        const CellClass& cls = classes[static_cast<std::size_t>(c)];
        double sum = 0.0;
        for (const int k : cls.constraints) {
            const Constraint& constraint = constraints[static_cast<std::size_t>(k)];
            sum += double(constraint.need) / constraint.cells;
        }
        share.push_back(std::clamp(sum / double(cls.constraints.size()), 0.0, 1.0));
        expected += share.back() * cls.size();
        cells += cls.size();
    }
    group.byMines.assign(static_cast<std::size_t>(cells + 1), 0.0);
    group.classMines.assign(group.classes.size(),
                            std::vector<double>(static_cast<std::size_t>(cells + 1), 0.0));
    for (int k = 0; k <= cells; ++k) {
        const double ways = binomial(cells, k);
        group.byMines[static_cast<std::size_t>(k)] = ways;
        for (std::size_t i = 0; i < group.classes.size(); ++i) {
            const int size = classes[static_cast<std::size_t>(group.classes[i])].size();
            const double part = expected > 0.0 ? share[i] * size / expected : double(size) / cells;
            group.classMines[i][static_cast<std::size_t>(k)] = ways * k * part;
        }
    }
}

MineOdds evenOdds(const VisibleBoard& seen, bool consistent)
{
    MineOdds odds;
    odds.consistent = consistent;
    const int covered = seen.coveredCount();
    for (int index = 0; index < kCells; ++index)
        if (seen.isCovered(index))
            odds.mine[static_cast<std::size_t>(index)] =
                std::clamp(double(seen.minesLeft()) / covered, 0.0, 1.0);
    return odds;
}

} // namespace

MineOdds mineOdds(const VisibleBoard& seen)
{
    const int minesLeft = seen.minesLeft();
    const int covered = seen.coveredCount();
    if (covered == 0)
        return MineOdds{};
    if (minesLeft < 0 || minesLeft > covered)
        return evenOdds(seen, false);

    // The numbers, and for each covered cell the numbers it touches.
    std::vector<Constraint> constraints;
    std::array<std::vector<int>, kCells> touches;
    for (int index = 0; index < kCells; ++index) {
        const int shown = seen.seen(index);
        if (shown == VisibleBoard::kCovered || shown == VisibleBoard::kFoundMine)
            continue;
        Constraint constraint;
        constraint.need = shown;
        for (const int n : neighbours(index)) {
            if (seen.isCovered(n))
                ++constraint.cells;
            else if (seen.seen(n) == VisibleBoard::kFoundMine)
                --constraint.need;
        }
        if (constraint.need < 0 || constraint.need > constraint.cells)
            return evenOdds(seen, false);
        if (constraint.cells == 0)
            continue;
        for (const int n : neighbours(index))
            if (seen.isCovered(n))
                touches[static_cast<std::size_t>(n)].push_back(int(constraints.size()));
        constraints.push_back(constraint);
    }

    // Cells touching the same numbers form one class; cells touching none are free.
    std::vector<CellClass> classes;
    std::map<std::vector<int>, int> classOf;
    std::vector<int> free;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        const std::vector<int>& key = touches[static_cast<std::size_t>(index)];
        if (key.empty()) {
            free.push_back(index);
            continue;
        }
        const auto [it, added] = classOf.try_emplace(key, int(classes.size()));
        if (added)
            classes.push_back(CellClass{{}, key});
        classes[static_cast<std::size_t>(it->second)].cells.push_back(index);
    }
    for (std::size_t c = 0; c < classes.size(); ++c)
        for (const int k : classes[c].constraints)
            constraints[static_cast<std::size_t>(k)].classes.push_back(int(c));

    // Independent groups, each listed in breadth-first order through shared numbers.
    std::vector<GroupCount> groups;
    std::vector<bool> listed(classes.size(), false);
    for (std::size_t start = 0; start < classes.size(); ++start) {
        if (listed[start])
            continue;
        GroupCount group;
        group.classes.push_back(int(start));
        listed[start] = true;
        for (std::size_t next = 0; next < group.classes.size(); ++next)
            for (const int k : classes[static_cast<std::size_t>(group.classes[next])].constraints)
                for (const int c : constraints[static_cast<std::size_t>(k)].classes)
                    if (!listed[static_cast<std::size_t>(c)]) {
                        listed[static_cast<std::size_t>(c)] = true;
                        group.classes.push_back(c);
                    }
        groups.push_back(std::move(group));
    }

    MineOdds odds;
    long budget = kPlacementBudget;
    for (GroupCount& group : groups) {
        GroupCounter counter(classes, constraints, minesLeft, budget);
        if (!counter.count(group)) {
            odds.exact = false;
            estimate(classes, constraints, group);
        }
    }

    // The mines left over after the groups fall on the free cells: binomial(free, rest)
    // ways, scaled by the largest so that no weight overflows.
    const int freeCells = int(free.size());
    std::vector<double> all{1.0};
    for (const GroupCount& group : groups)
        all = convolve(all, group.byMines, minesLeft);
    std::vector<double> logWeight(static_cast<std::size_t>(minesLeft + 1),
                                  -std::numeric_limits<double>::infinity());
    double top = -std::numeric_limits<double>::infinity();
    for (int k = 0; k <= minesLeft; ++k) {
        const int rest = minesLeft - k;
        if (rest <= freeCells && k < int(all.size()) && all[static_cast<std::size_t>(k)] > 0) {
            logWeight[static_cast<std::size_t>(k)] = logBinomial(freeCells, rest);
            top = std::max(top, logWeight[static_cast<std::size_t>(k)]);
        }
    }
    std::vector<double> weight(logWeight.size(), 0.0);
    for (std::size_t k = 0; k < weight.size(); ++k)
        weight[k] = std::exp(logWeight[k] - top);

    double total = 0.0;
    double freeMines = 0.0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        total += all[k] * weight[k];
        freeMines += all[k] * weight[k] * double(minesLeft - int(k));
    }
    if (!(total > 0.0))
        return evenOdds(seen, false);

    for (const int index : free)
        odds.mine[static_cast<std::size_t>(index)] = freeMines / total / freeCells;

    // For each group, the other groups joined: groups before it times groups after it.
    std::vector<std::vector<double>> after(groups.size() + 1, std::vector<double>{1.0});
    for (std::size_t g = groups.size(); g-- > 0;)
        after[g] = convolve(after[g + 1], groups[g].byMines, minesLeft);
    std::vector<double> before{1.0};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::vector<double> others = convolve(before, after[g + 1], minesLeft);
        before = convolve(before, groups[g].byMines, minesLeft);
        // What one mine count of this group weighs once joined with the rest of the board.
        std::vector<double> joined(groups[g].byMines.size(), 0.0);
        for (std::size_t k = 0; k < joined.size() && k < weight.size(); ++k)
            for (std::size_t j = 0; j < others.size() && k + j < weight.size(); ++j)
                joined[k] += others[j] * weight[k + j];
        for (std::size_t i = 0; i < groups[g].classes.size(); ++i) {
            const CellClass& cls = classes[static_cast<std::size_t>(groups[g].classes[i])];
            double mines = 0.0;
            for (std::size_t k = 0; k < joined.size(); ++k)
                mines += groups[g].classMines[i][k] * joined[k];
            const double p = std::clamp(mines / total / cls.size(), 0.0, 1.0);
            for (const int index : cls.cells)
                odds.mine[static_cast<std::size_t>(index)] = p;
        }
    }
    return odds;
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
