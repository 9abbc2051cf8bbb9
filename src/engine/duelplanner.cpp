// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/duelplanner.h"

#include "engine/deduction.h"
#include "engine/solver.h"

#include <algorithm>
#include <array>
#include <vector>

namespace volcanelle {

namespace {

// Layouts drawn per move: enough to tell a likely number from a rare one.
constexpr int kLayouts = 48;
// What a mine handed to the opponent costs, against a mine of our own.
constexpr double kGiftCost = 1.0;

constexpr std::int8_t kMineHere = -1;

// What each covered cell would show in one layout (kMineHere for its mines), and the mines
// proven for the opponent should a blank cell of it be clicked.
struct Layout {
    std::array<std::int8_t, kCells> number{};
    std::array<float, kCells> blankGift{};
};

class Planner {
public:
    Planner(const VisibleBoard& seen, const Arrangements& arrangements)
        : seen_(seen), arrangements_(arrangements), deduction_(seen),
          base_(deduction_.provenMines())
    {
    }

    void drawLayouts(std::mt19937& random);
    /// Mines proven beyond those proven now, once `shown` is supposed uncovered.
    int giftOf(const std::vector<std::pair<int, int>>& shown);
    double worth(int index);

private:
    void openBlanks(Layout& layout);

    const VisibleBoard& seen_;
    const Arrangements& arrangements_;
    Deduction deduction_;
    int base_;
    std::vector<Layout> layouts_;
};

void Planner::drawLayouts(std::mt19937& random)
{
    layouts_.resize(kLayouts);
    for (Layout& layout : layouts_) {
        const CellSet mines = arrangements_.draw(random);
        for (int index = 0; index < kCells; ++index) {
            if (!seen_.isCovered(index))
                continue;
            int around = 0;
            for (const int n : neighbours(index))
                around += mines.contains(n) || seen_.seen(n) == VisibleBoard::kFoundMine;
            layout.number[static_cast<std::size_t>(index)] =
                mines.contains(index) ? kMineHere : std::int8_t(around);
        }
        openBlanks(layout);
    }
}

// Each blank area of the layout: the blank cells linked through each other, and the covered
// cells around them, all of which would open together.
void Planner::openBlanks(Layout& layout)
{
    std::array<bool, kCells> done{};
    for (int start = 0; start < kCells; ++start) {
        const auto at = static_cast<std::size_t>(start);
        if (done[at] || !seen_.isCovered(start) || layout.number[at] != 0)
            continue;
        std::vector<int> blanks{start};
        std::array<bool, kCells> opened{};
        std::vector<std::pair<int, int>> shown{{start, 0}};
        done[at] = opened[at] = true;
        for (std::size_t next = 0; next < blanks.size(); ++next)
            for (const int n : neighbours(blanks[next])) {
                const auto nat = static_cast<std::size_t>(n);
                if (opened[nat] || !seen_.isCovered(n))
                    continue;
                opened[nat] = true;
                shown.emplace_back(n, layout.number[nat]);
                if (layout.number[nat] == 0) {
                    done[nat] = true;
                    blanks.push_back(n);
                }
            }
        const float gift = float(giftOf(shown));
        for (const int blank : blanks)
            layout.blankGift[static_cast<std::size_t>(blank)] = gift;
    }
}

int Planner::giftOf(const std::vector<std::pair<int, int>>& shown)
{
    deduction_.mark();
    deduction_.supposeNumbers(shown);
    const int gift = deduction_.consistent() ? deduction_.provenMines() - base_ : 0;
    deduction_.undo();
    return gift;
}

double Planner::worth(int index)
{
    const double p = arrangements_.odds().mine[static_cast<std::size_t>(index)];
    double ours = 0.0;
    if (p > 0.0 && deduction_.at(index) == Deduction::Known::Unknown) {
        deduction_.mark();
        deduction_.supposeMine(index);
        ours = deduction_.consistent() ? deduction_.provenMines() - base_ - 1 : 0;
        deduction_.undo();
    }
    // What its number hands over, by number shown, averaged over the layouts where it is free.
    std::array<double, 9> byNumber;
    byNumber.fill(-1.0);
    double given = 0.0;
    int free = 0;
    for (const Layout& layout : layouts_) {
        const int shown = layout.number[static_cast<std::size_t>(index)];
        if (shown == kMineHere)
            continue;
        ++free;
        if (shown == 0) {
            given += layout.blankGift[static_cast<std::size_t>(index)];
            continue;
        }
        double& gift = byNumber[static_cast<std::size_t>(shown)];
        if (gift < 0.0)
            gift = giftOf({{index, shown}});
        given += gift;
    }
    if (free > 0)
        given /= free;
    return p * (1.0 + ours) - (1.0 - p) * kGiftCost * given;
}

} // namespace

Plan planDuelMove(const VisibleBoard& seen, std::mt19937& random)
{
    const Arrangements arrangements(seen);
    const MineOdds& odds = arrangements.odds();
    Plan plan;
    plan.exact = odds.exact;
    const int likeliest = bestCell(seen, odds);
    if (likeliest < 0 || odds.mine[static_cast<std::size_t>(likeliest)] == 1.0 ||
        !odds.consistent) {
        plan.cell = likeliest;
        return plan;
    }

    Planner planner(seen, arrangements);
    planner.drawLayouts(random);
    constexpr double kSame = 1e-9;
    double bestWorth = 0.0;
    int bestCovered = 0;
    for (int index = 0; index < kCells; ++index) {
        if (!seen.isCovered(index))
            continue;
        const double worth = planner.worth(index);
        int coveredAround = 0;
        for (const int n : neighbours(index))
            coveredAround += seen.isCovered(n) ? 1 : 0;
        if (plan.cell < 0 || worth > bestWorth + kSame ||
            (worth > bestWorth - kSame && coveredAround < bestCovered)) {
            plan.cell = index;
            bestWorth = worth;
            bestCovered = coveredAround;
        }
    }
    return plan;
}

} // namespace volcanelle
