// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace volcanelle {

/// Covered cells that touch exactly the same numbers: only how many of them hold a mine
/// matters, each count standing for binomial(size, mines) arrangements.
struct CellClass {
    std::vector<int> cells;
    std::vector<int> demands;
    int size() const { return static_cast<int>(cells.size()); }
};

/// A number's demand: how many mines its classes still hold between them.
struct Demand {
    int need = 0;
    std::vector<int> classes;
};

/// The arrangements of one group of classes linked through their numbers, counted by number
/// of mines. The classes are taken one at a time, in an order that keeps few numbers open at
/// once (touched by classes already taken and by classes still to come); arrangements that
/// leave the open numbers with the same needs are counted together, so the work grows with
/// how many such states there are rather than with the arrangements themselves.
class GroupCount {
public:
    /// Counts the arrangements of `members` (indexes into `classes`) with at most `mostMines`
    /// mines. False when it would cost more than `budget` steps or too much memory; `budget`
    /// is decreased by the steps spent.
    bool count(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
               std::vector<int> members, int mostMines, long& budget);

    /// The classes, in the order counted.
    const std::vector<int>& members() const { return members_; }
    /// Arrangements with 0, 1, 2... mines in the group.
    const std::vector<double>& byMines() const { return byMines_; }
    /// For each member, the mines it holds summed over every arrangement, each weighed by
    /// `weight[k]` for its count k of mines (what k mines here leave for the rest).
    std::vector<double> classMines(const std::vector<double>& weight) const;
    /// One arrangement with `mines` mines, drawn with its share of byMines()[mines]: how many
    /// mines each member holds. Precondition: byMines()[mines] > 0.
    std::vector<int> draw(int mines, std::mt19937& random) const;

private:
    struct Edge {
        int from;
        int to;
        int mines;
    };
    // Counts for mines from `low` to `high`, kept from `at` in a flat store; empty when low
    // is above high. States span only the mine counts they can reach.
    struct Band {
        int low = 1;
        int high = 0;
        std::size_t at = 0;
        std::size_t size() const { return low > high ? 0 : std::size_t(high - low + 1); }
    };
    using Bands = std::vector<Band>;
    // Gives each state of `next` the mine counts that the edges of `level` bring it to, from
    // the bands of the other side (`from` the edges' start when forward, their end when not);
    // returns how many counts the bands hold in all.
    std::size_t spread(const std::vector<Edge>& edges, const Bands& from, Bands& to,
                       bool forward) const;
    // The states before class `order[i]` is taken, and the ways from them to the next ones.
    struct Level {
        std::vector<std::uint64_t> keys;
        std::vector<Edge> edges;    // sorted by `from`
        std::vector<int> firstEdge; // per state, then one past the last
        // Per state, completions by mines still to place.
        Bands restBands;
        std::vector<double> rest;
        double restOf(int state, int mines) const
        {
            const Band& band = restBands[static_cast<std::size_t>(state)];
            return mines < band.low || mines > band.high
                       ? 0.0
                       : rest[band.at + std::size_t(mines - band.low)];
        }
    };

    bool buildLevels(const std::vector<CellClass>& classes, const std::vector<Demand>& demands,
                     long& budget);

    std::vector<int> members_;
    std::vector<int> sizes_;
    std::vector<Level> levels_; // one more than members: the last holds the end state
    std::vector<double> byMines_;
    int mostMines_ = 0;
};

} // namespace volcanelle
