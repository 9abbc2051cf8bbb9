// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/cellset.h"
#include "engine/grid.h"
#include "engine/groupcount.h"
#include "engine/visibleboard.h"

#include <array>
#include <random>
#include <vector>

namespace volcanelle {

/// The chance that each covered cell hides a mine, given every number shown and the count
/// of mines still hidden, every arrangement that fits them being equally likely.
struct MineOdds {
    /// For covered cells, 0 to 1; 0 for uncovered ones. Exactly 1 only for a certain mine.
    std::array<double, kCells> mine{};
    /// False when some part of the board had too many arrangements to count within the time
    /// bound, and its odds were estimated.
    bool exact = true;
    /// False when no arrangement fits what is shown (a board no round can give); the odds
    /// are then the same for every covered cell.
    bool consistent = true;
};

/// The arrangements of the hidden mines that fit what a player sees. What the numbers prove
/// alone and in overlapping pairs is settled first (Deduction). The other covered cells that
/// touch numbers fall into independent groups, linked through the numbers they share; inside
/// a group, cells touching exactly the same numbers form one class. Each group's arrangements
/// are counted by number of mines (GroupCount), each within a bound of its own, so that a
/// group too large to count leaves the others exact; the groups are then joined with the
/// cells that touch no number through the count of mines left, weighted by binomials.
class Arrangements {
public:
    /// How many steps one group may cost before it is estimated instead of counted: a few
    /// milliseconds at worst.
    static constexpr long kGroupBudget = 3'000'000;

    explicit Arrangements(const VisibleBoard& seen, long groupBudget = kGroupBudget);

    const MineOdds& odds() const { return odds_; }

    /// One layout of the hidden mines (the covered cells that hold one), every arrangement
    /// that fits drawn with its exact probability where the count was exact; where it was
    /// estimated, drawn from the estimated odds, and it may then not fit every number.
    CellSet draw(std::mt19937& random) const;

private:
    struct Group {
        GroupCount count;
        bool exact = true;
        // When estimated: the classes, arrangements by mines, each class's mines by count.
        std::vector<int> members;
        std::vector<double> estimatedByMines;
        std::vector<std::vector<double>> estimatedMines;

        const std::vector<double>& byMines() const
        {
            return exact ? count.byMines() : estimatedByMines;
        }
        const std::vector<int>& order() const { return exact ? count.members() : members; }
        std::vector<double> classMines(const std::vector<double>& joined) const;
    };
    void findOdds();
    void pickCells(const std::vector<int>& cells, int mines, std::mt19937& random,
                   CellSet& layout) const;

    MineOdds odds_;
    CellSet proven_;        // covered cells proven mines before counting
    std::vector<int> free_; // covered cells touching no open number
    std::vector<CellClass> classes_;
    std::vector<Demand> demands_;
    std::vector<Group> groups_;
    int toShare_ = 0; // mines left once the proven ones are set aside
    // For drawing: tail_[g][m], what the groups from g on and the free cells weigh once the
    // groups before g hold m mines.
    std::vector<std::vector<double>> tail_;
};

/// Counts the arrangements and returns the odds alone.
MineOdds mineOdds(const VisibleBoard& seen);

/// The covered cell the computer clicks: the one most likely to hide a mine, so certain
/// mines first. Among equal odds, the cell with the fewest covered neighbours, so that if
/// it proves free its number tells the opponent about as few cells as possible; then the
/// lowest index. -1 when no cell is covered.
int bestCell(const VisibleBoard& seen, const MineOdds& odds);

} // namespace volcanelle
