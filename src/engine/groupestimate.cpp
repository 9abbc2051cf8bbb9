// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/groupestimate.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace volcanelle {

namespace {

// Each window is small; one that is not is given up quickly.
constexpr long kWindowBudget = 200'000;

// The odds of `target` counted on its window, or a negative value when the window is too large.
double windowOdds(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                  int target, double tilt)
{
    // The numbers within two steps, renumbered, and every class that touches one of them.
    std::map<int, int> demandIn;
    const auto addDemand = [&](int d) { demandIn.try_emplace(d, int(demandIn.size())); };
    for (const int d : classes[static_cast<std::size_t>(target)].demands)
        for (const int c : demands[static_cast<std::size_t>(d)].classes)
            for (const int further : classes[static_cast<std::size_t>(c)].demands)
                addDemand(further);
    std::map<int, int> classIn;
    std::vector<CellClass> windowClasses;
    std::vector<Demand> windowDemands(demandIn.size());
    for (const auto& [d, local] : demandIn) {
        windowDemands[static_cast<std::size_t>(local)].need =
            demands[static_cast<std::size_t>(d)].need;
        for (const int c : demands[static_cast<std::size_t>(d)].classes) {
            const auto [it, added] = classIn.try_emplace(c, int(windowClasses.size()));
            if (added) {
                CellClass copy;
                copy.cells = classes[static_cast<std::size_t>(c)].cells;
                for (const int own : classes[static_cast<std::size_t>(c)].demands)
                    if (const auto in = demandIn.find(own); in != demandIn.end())
                        copy.demands.push_back(in->second);
                windowClasses.push_back(std::move(copy));
            }
            windowDemands[static_cast<std::size_t>(local)].classes.push_back(it->second);
        }
    }
    std::vector<int> members(windowClasses.size());
    int cells = 0;
    for (std::size_t c = 0; c < members.size(); ++c) {
        members[c] = int(c);
        cells += windowClasses[c].size();
    }
    GroupCount count;
    long budget = kWindowBudget;
    if (!count.count(windowClasses, windowDemands, members, cells, budget))
        return -1.0;
    std::vector<double> weight(static_cast<std::size_t>(cells) + 1);
    double total = 0.0;
    for (std::size_t k = 0; k < weight.size(); ++k) {
        weight[k] = std::pow(tilt, double(k));
        if (k < count.byMines().size())
            total += count.byMines()[k] * weight[k];
    }
    if (!(total > 0.0))
        return -1.0;
    const std::vector<double> mines = count.classMines(weight);
    const auto at = std::find(count.members().begin(), count.members().end(), classIn.at(target)) -
                    count.members().begin();
    return mines[static_cast<std::size_t>(at)] / total /
           classes[static_cast<std::size_t>(target)].size();
}

// The mean share of mines that the numbers around `target` ask of their cells.
double meanShare(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                 int target)
{
    const CellClass& cls = classes[static_cast<std::size_t>(target)];
    double sum = 0.0;
    for (const int d : cls.demands) {
        const Demand& demand = demands[static_cast<std::size_t>(d)];
        int size = 0;
        for (const int other : demand.classes)
            size += classes[static_cast<std::size_t>(other)].size();
        sum += double(demand.need) / size;
    }
    return std::clamp(sum / double(cls.demands.size()), 0.0, 1.0);
}

} // namespace

GroupEstimate estimateGroup(const std::vector<CellClass>& classes,
                            const std::vector<Demand>& demands, const std::vector<int>& members,
                            double density)
{
    const double d = std::clamp(density, 1e-3, 1.0 - 1e-3);
    const double tilt = d / (1.0 - d);
    std::vector<double> odds;
    double expected = 0.0;
    int cells = 0;
    for (const int c : members) {
        const double counted = windowOdds(classes, demands, c, tilt);
        odds.push_back(counted >= 0.0 ? counted : meanShare(classes, demands, c));
        expected += odds.back() * classes[static_cast<std::size_t>(c)].size();
        cells += classes[static_cast<std::size_t>(c)].size();
    }
    // binomial(cells, k) t^k, with t such that, once the rest of the board's weight (about
    // tilt^k) is joined, the group holds `expected` mines on average.
    const double mean = std::clamp(expected, 1e-3, cells - 1e-3);
    const double t = mean / (cells - mean) / tilt;
    GroupEstimate out;
    out.byMines.assign(static_cast<std::size_t>(cells) + 1, 0.0);
    out.classMines.assign(members.size(), out.byMines);
    for (int k = 0; k <= cells; ++k) {
        const double ways = std::exp(std::lgamma(cells + 1.0) - std::lgamma(k + 1.0) -
                                     std::lgamma(cells - k + 1.0) + k * std::log(t));
        out.byMines[static_cast<std::size_t>(k)] = ways;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const int size = classes[static_cast<std::size_t>(members[i])].size();
            const double part = expected > 0.0 ? odds[i] * size / expected : double(size) / cells;
            out.classMines[i][static_cast<std::size_t>(k)] = ways * k * part;
        }
    }
    return out;
}

} // namespace volcanelle
