// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/cellset.h"
#include "engine/visibleboard.h"

#include <array>
#include <cstdint>
#include <vector>

namespace volcanelle {

/// What the numbers shown prove on their own, without counting arrangements: each number
/// alone (its covered neighbours are all mines, or all free), and each pair of numbers that
/// share covered cells (the mines the shared cells can hold bound what the others hold). Each
/// cell proven, mine or free, is taken into every number around it, and the reasoning goes on
/// until nothing more follows. Sound whatever the count of mines left, which it ignores.
///
/// For looking ahead, a cell can be supposed uncovered (with the number it would show) or a
/// mine; mark() and undo() take every supposition back at little cost.
class Deduction {
public:
    enum class Known : std::int8_t { Unknown, Mine, Free };

    /// With `chain` false, only what each number and each pair prove on the board as shown,
    /// as someone reading the board once would: no proof builds on another.
    explicit Deduction(const VisibleBoard& seen, bool chain = true);

    /// Mine for a found mine or a covered cell proven to hide one; Free for an uncovered cell
    /// or a covered cell proven free.
    Known at(int index) const { return known_[static_cast<std::size_t>(index)]; }
    /// False once the numbers contradict each other (a board no round can give).
    bool consistent() const { return consistent_; }
    /// How many covered cells are proven mines.
    int provenMines() const { return provenMines_; }

    /// A number's demand on the cells still unknown around it.
    struct Rule {
        CellSet cells;
        int need = 0;
    };
    /// Every number's demand; a number with no unknown cell left around it has none.
    const std::vector<Rule>& rules() const { return rules_; }

    /// Remembers the present state for the matching undo().
    void mark();
    void undo();
    /// Supposes covered cell `index` uncovered and showing `shown`, the count of every mine
    /// around it (0 to 8), then reasons on.
    void supposeNumber(int index, int shown);
    /// The same for several cells at once (a blank area opening): (index, shown) pairs.
    void supposeNumbers(const std::vector<std::pair<int, int>>& shown);
    /// Supposes covered cell `index` a mine, then reasons on.
    void supposeMine(int index);

private:
    void addNumber(int index, int shown);
    void addRule(const Rule& rule);
    void setKnown(int index, Known known);
    void settle(const CellSet& cells, int size, int fewest, int most);
    void examine(int rule);
    void examinePair(int first, int second);
    void propagate();

    std::array<Known, kCells> known_{};
    CellSet covered_;
    std::vector<Rule> rules_;
    std::array<std::vector<int>, kCells> rulesAt_; // the rules whose number touches each cell
    int provenMines_ = 0;
    bool consistent_ = true;
    bool chain_ = true;
    std::vector<std::pair<int, Known>> pending_; // proofs held back while not chaining

    std::vector<int> queue_;
    std::vector<char> queued_;

    // What undo() puts back, newest last.
    struct Change {
        enum class Kind : std::int8_t { CellKnown, RuleChanged, RuleAdded, Consistency } kind;
        int what = 0;
        Rule rule;
    };
    std::vector<Change> trail_;
    std::vector<std::size_t> marks_;
};

} // namespace volcanelle
