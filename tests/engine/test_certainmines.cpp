// SPDX-License-Identifier: GPL-3.0-or-later
// On positions built to be hard (hardpositions.h), whether a certain mine exists is decided
// here by a plain search, cell by cell, apart from the solver's own counting.

#include "engine/computerlevel.h"
#include "engine/solver.h"
#include "hardpositions.h"

#include <QTest>
#include <optional>
#include <vector>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

// Looks for a layout that fits every number and the count of mines left, one covered cell
// next to a number at a time, each number's bounds applied after every choice.
class LayoutSearch {
public:
    explicit LayoutSearch(const VisibleBoard& seen) : minesLeft_(seen.minesLeft())
    {
        std::vector<int> slot(kCells, -1);
        for (int index = 0; index < kCells; ++index) {
            const int shown = seen.seen(index);
            if (shown < 0 || shown == VisibleBoard::kFoundMine)
                continue;
            Number number{{}, shown};
            for (const int n : neighbours(index)) {
                if (seen.isCovered(n)) {
                    if (slot[std::size_t(n)] < 0) {
                        slot[std::size_t(n)] = int(cells_.size());
                        cells_.push_back(n);
                    }
                    number.cells.push_back(slot[std::size_t(n)]);
                } else if (seen.seen(n) == VisibleBoard::kFoundMine) {
                    --number.need;
                }
            }
            numbers_.push_back(number);
        }
        elsewhere_ = seen.coveredCount() - int(cells_.size());
        for (std::size_t a = 0; a < numbers_.size(); ++a)
            for (std::size_t b = a + 1; b < numbers_.size(); ++b)
                for (const int c : numbers_[a].cells)
                    if (std::find(numbers_[b].cells.begin(), numbers_[b].cells.end(), c) !=
                        numbers_[b].cells.end()) {
                        pairs_.emplace_back(int(a), int(b));
                        break;
                    }
    }

    const std::vector<int>& cells() const { return cells_; }

    /// A layout of the cells next to numbers (1 for a mine) with cells()[free] free, if any.
    std::optional<std::vector<int>> layoutWithFree(int free)
    {
        std::vector<int> value(cells_.size(), -1);
        value[std::size_t(free)] = 0;
        return search(value, free);
    }

private:
    struct Number {
        std::vector<int> cells;
        int need;
    };

    // Applies each number's bounds until nothing changes; `branch` is then the open cell
    // nearest `target` (a contradiction, if any, lies around it), or -1 when every cell is
    // settled.
    bool settle(std::vector<int>& value, int target, int& branch) const
    {
        for (bool changed = true; changed;) {
            changed = false;
            int mines = 0, open = 0;
            for (const int v : value) {
                mines += v == 1;
                open += v < 0;
            }
            if (mines > minesLeft_ || mines + open + elsewhere_ < minesLeft_)
                return false;
            for (const Number& number : numbers_) {
                int found = 0, unknown = 0;
                for (const int c : number.cells) {
                    found += value[std::size_t(c)] == 1;
                    unknown += value[std::size_t(c)] < 0;
                }
                if (found > number.need || found + unknown < number.need)
                    return false;
                if (unknown == 0 || (found != number.need && found + unknown != number.need))
                    continue;
                for (const int c : number.cells)
                    if (value[std::size_t(c)] < 0)
                        value[std::size_t(c)] = found == number.need ? 0 : 1;
                changed = true;
            }
            for (std::size_t p = 0; p < pairs_.size() && !changed; ++p) {
                const std::optional<bool> pair = settlePair(value, pairs_[p]);
                if (!pair)
                    return false;
                changed = *pair;
            }
        }
        branch = -1;
        int nearest = kCells;
        const int at = cells_[std::size_t(target)];
        for (std::size_t c = 0; c < value.size(); ++c) {
            const int cell = cells_[c];
            const int distance = std::max(std::abs(rowOf(cell) - rowOf(at)),
                                          std::abs(columnOf(cell) - columnOf(at)));
            if (value[c] < 0 && distance < nearest) {
                nearest = distance;
                branch = int(c);
            }
        }
        return true;
    }

    // Two numbers sharing open cells: the mines the shared cells can hold are bounded by
    // what each number leaves for its own cells. Nothing on a contradiction, else whether
    // some cell was settled.
    std::optional<bool> settlePair(std::vector<int>& value, std::pair<int, int> pair) const
    {
        const Number& a = numbers_[std::size_t(pair.first)];
        const Number& b = numbers_[std::size_t(pair.second)];
        std::vector<int> onlyA, onlyB, shared;
        int needA = a.need, needB = b.need;
        for (const int c : a.cells) {
            const bool inB = std::find(b.cells.begin(), b.cells.end(), c) != b.cells.end();
            needA -= value[std::size_t(c)] == 1;
            if (value[std::size_t(c)] < 0)
                (inB ? shared : onlyA).push_back(c);
        }
        for (const int c : b.cells) {
            needB -= value[std::size_t(c)] == 1;
            if (value[std::size_t(c)] < 0 &&
                std::find(a.cells.begin(), a.cells.end(), c) == a.cells.end())
                onlyB.push_back(c);
        }
        if (shared.empty())
            return false;
        const int low = std::max({0, needA - int(onlyA.size()), needB - int(onlyB.size())});
        const int high = std::min({int(shared.size()), needA, needB});
        if (low > high)
            return std::nullopt;
        bool changed = false;
        const auto set = [&](const std::vector<int>& cells, int fewest, int most) {
            if (cells.empty() || (fewest < int(cells.size()) && most > 0))
                return;
            for (const int c : cells)
                value[std::size_t(c)] = fewest >= int(cells.size()) ? 1 : 0;
            changed = true;
        };
        set(shared, low, high);
        set(onlyA, needA - high, needA - low);
        set(onlyB, needB - high, needB - low);
        return changed;
    }

    std::optional<std::vector<int>> search(std::vector<int> value, int target) const
    {
        int branch = -1;
        if (!settle(value, target, branch))
            return std::nullopt;
        if (branch < 0)
            return value;
        for (const int choice : {1, 0}) {
            std::vector<int> next = value;
            next[std::size_t(branch)] = choice;
            if (auto found = search(std::move(next), target))
                return found;
        }
        return std::nullopt;
    }

    std::vector<int> cells_;
    std::vector<Number> numbers_;
    std::vector<std::pair<int, int>> pairs_; // numbers that share a cell
    int minesLeft_;
    int elsewhere_ = 0;
};

// The covered cells that no fitting layout leaves free.
std::vector<int> certainMines(const VisibleBoard& seen)
{
    LayoutSearch search(seen);
    const std::vector<int>& cells = search.cells();
    std::vector<bool> seenFree(cells.size(), false);
    std::vector<int> certain;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (seenFree[i])
            continue;
        const std::optional<std::vector<int>> layout = search.layoutWithFree(int(i));
        if (!layout) {
            certain.push_back(cells[i]);
            continue;
        }
        for (std::size_t j = 0; j < cells.size(); ++j)
            seenFree[j] = seenFree[j] || (*layout)[j] == 0;
    }
    return certain;
}

} // namespace

class CertainMinesTest : public QObject {
    Q_OBJECT

private slots:
    void hardPositionsGiveUpNoCertainMine()
    {
        int withCertain = 0;
        unsigned seed = 0;
        for (const HardPosition& position : hardPositions()) {
            const VisibleBoard seen(position.board, position.mines);
            const std::vector<int> certain = certainMines(seen);
            const MineOdds odds = mineOdds(seen);
            for (int index = 0; index < kCells; ++index) {
                const bool isCertain =
                    std::find(certain.begin(), certain.end(), index) != certain.end();
                // Odds of exactly 1 claim certainty; only a certain mine has them.
                QVERIFY2(
                    isCertain == (odds.mine[std::size_t(index)] == 1.0),
                    qPrintable(position.name + QStringLiteral(", cell ") + QString::number(index)));
            }
            if (certain.empty())
                continue;
            ++withCertain;
            const int moyen = bestCell(seen, odds);
            ComputerLevel difficile(Level::Difficile, ++seed);
            const int hard = difficile.chooseCell(seen);
            for (const int chosen : {moyen, hard})
                QVERIFY2(std::find(certain.begin(), certain.end(), chosen) != certain.end(),
                         qPrintable(position.name + QStringLiteral(": cell ") +
                                    QString::number(chosen)));
        }
        // The positions must hold enough certain mines for the check to mean something.
        QVERIFY2(withCertain >= 40, qPrintable(QString::number(withCertain)));
    }
};

QTEST_APPLESS_MAIN(CertainMinesTest)
#include "test_certainmines.moc"
