// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/countingorder.h"

#include <algorithm>

namespace volcanelle {

namespace {

// How many numbers are open at the busiest point of `order`.
std::size_t widest(const std::vector<int>& order, const std::vector<CellClass>& classes,
                   const std::vector<Demand>& demands)
{
    std::vector<int> level(classes.size(), -1);
    for (std::size_t i = 0; i < order.size(); ++i)
        level[static_cast<std::size_t>(order[i])] = int(i);
    std::vector<int> change(order.size() + 1, 0);
    for (const Demand& demand : demands) {
        int first = -1, last = -1;
        for (const int c : demand.classes) {
            const int at = level[static_cast<std::size_t>(c)];
            if (at < 0)
                continue;
            first = first < 0 ? at : std::min(first, at);
            last = std::max(last, at);
        }
        if (first >= 0 && last > first) {
            ++change[static_cast<std::size_t>(first) + 1];
            --change[static_cast<std::size_t>(last) + 1];
        }
    }
    int open = 0;
    std::size_t most = 0;
    for (const int c : change) {
        open += c;
        most = std::max(most, std::size_t(open));
    }
    return most;
}

// Takes next the class that opens fewest numbers for those it closes, among the classes that
// share a number already open: the order sweeps across the group.
std::vector<int> greedyOrder(const std::vector<int>& members, const std::vector<CellClass>& classes,
                             const std::vector<Demand>& demands)
{
    std::vector<int> left(demands.size(), 0);
    for (const int c : members)
        for (const int d : classes[static_cast<std::size_t>(c)].demands)
            ++left[static_cast<std::size_t>(d)];
    std::vector<char> open(demands.size(), 0), taken(classes.size(), 0);
    int openCount = 0;
    std::vector<int> order;
    while (order.size() < members.size()) {
        int best = -1, bestDelta = 0, bestShared = 0;
        for (const int c : members) {
            if (taken[static_cast<std::size_t>(c)])
                continue;
            int delta = 0, shared = 0;
            for (const int d : classes[static_cast<std::size_t>(c)].demands) {
                const auto at = static_cast<std::size_t>(d);
                shared += open[at];
                delta += !open[at] && left[at] > 1 ? 1 : 0;
                delta -= open[at] && left[at] == 1 ? 1 : 0;
            }
            if (openCount > 0 && shared == 0)
                continue;
            if (best < 0 || delta < bestDelta || (delta == bestDelta && shared > bestShared)) {
                best = c;
                bestDelta = delta;
                bestShared = shared;
            }
        }
        taken[static_cast<std::size_t>(best)] = 1;
        order.push_back(best);
        for (const int d : classes[static_cast<std::size_t>(best)].demands) {
            const auto at = static_cast<std::size_t>(d);
            --left[at];
            const char now = left[at] > 0;
            openCount += now - open[at];
            open[at] = now;
        }
    }
    return order;
}

} // namespace

bool countingOrder(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                   std::vector<int>& members)
{
    // Three candidate orders: greedy, and sweeps by rows and by columns of each class's
    // first cell; the one that keeps fewest numbers open wins.
    const auto sweep = [&](bool byColumn) {
        std::vector<int> order = members;
        const auto key = [&](int c) {
            const int cell = classes[static_cast<std::size_t>(c)].cells.front();
            return byColumn ? indexOf(columnOf(cell), rowOf(cell)) : cell;
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
        return order;
    };
    std::vector<int> best = greedyOrder(members, classes, demands);
    std::size_t bestWidth = widest(best, classes, demands);
    for (const bool byColumn : {false, true}) {
        std::vector<int> order = sweep(byColumn);
        const std::size_t width = widest(order, classes, demands);
        if (width < bestWidth) {
            best = std::move(order);
            bestWidth = width;
        }
    }
    members = std::move(best);
    return bestWidth <= kMostOpenNumbers;
}

} // namespace volcanelle
