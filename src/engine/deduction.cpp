// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/deduction.h"

#include <algorithm>

namespace volcanelle {

Deduction::Deduction(const VisibleBoard& seen, bool chain) : chain_(chain)
{
    for (int index = 0; index < kCells; ++index) {
        if (seen.isCovered(index))
            covered_.insert(index);
        else
            known_[static_cast<std::size_t>(index)] =
                seen.seen(index) == VisibleBoard::kFoundMine ? Known::Mine : Known::Free;
    }
    for (int index = 0; index < kCells; ++index) {
        const int shown = seen.seen(index);
        if (shown == VisibleBoard::kCovered || shown == VisibleBoard::kFoundMine)
            continue;
        Rule rule;
        rule.need = shown;
        for (const int n : neighbours(index)) {
            if (seen.isCovered(n))
                rule.cells.insert(n);
            else if (seen.seen(n) == VisibleBoard::kFoundMine)
                --rule.need;
        }
        if (!rule.cells.empty() || rule.need != 0)
            addRule(rule);
    }
    propagate();
    chain_ = true;
    for (const auto& [cell, known] : pending_)
        setKnown(cell, known);
    queue_.clear();
    std::fill(queued_.begin(), queued_.end(), 0);
    // What the board itself shows is never undone.
    trail_.clear();
}

void Deduction::mark()
{
    marks_.push_back(trail_.size());
}

void Deduction::undo()
{
    const std::size_t keep = marks_.back();
    marks_.pop_back();
    while (trail_.size() > keep) {
        Change& change = trail_.back();
        const auto what = static_cast<std::size_t>(change.what);
        switch (change.kind) {
        case Change::Kind::CellKnown:
            if (known_[what] == Known::Mine && covered_.contains(change.what))
                --provenMines_;
            known_[what] = Known::Unknown;
            break;
        case Change::Kind::RuleChanged:
            rules_[what] = change.rule;
            break;
        case Change::Kind::RuleAdded:
            rules_.back().cells.forEach(
                [this](int cell) { rulesAt_[static_cast<std::size_t>(cell)].pop_back(); });
            rules_.pop_back();
            queued_.pop_back();
            break;
        case Change::Kind::Consistency:
            consistent_ = true;
            break;
        }
        trail_.pop_back();
    }
    queue_.clear();
    std::fill(queued_.begin(), queued_.end(), 0);
}

void Deduction::supposeNumber(int index, int shown)
{
    addNumber(index, shown);
    propagate();
}

void Deduction::supposeNumbers(const std::vector<std::pair<int, int>>& shown)
{
    for (const auto& [index, number] : shown)
        addNumber(index, number);
    propagate();
}

void Deduction::addNumber(int index, int shown)
{
    setKnown(index, Known::Free);
    Rule rule;
    rule.need = shown;
    for (const int n : neighbours(index)) {
        if (at(n) == Known::Unknown)
            rule.cells.insert(n);
        else if (at(n) == Known::Mine)
            --rule.need;
    }
    addRule(rule);
}

void Deduction::supposeMine(int index)
{
    setKnown(index, Known::Mine);
    propagate();
}

void Deduction::addRule(const Rule& rule)
{
    const int id = int(rules_.size());
    rules_.push_back(rule);
    rule.cells.forEach(
        [this, id](int cell) { rulesAt_[static_cast<std::size_t>(cell)].push_back(id); });
    queued_.push_back(1);
    queue_.push_back(id);
    if (!marks_.empty())
        trail_.push_back({Change::Kind::RuleAdded, id, {}});
}

void Deduction::setKnown(int index, Known known)
{
    const auto at = static_cast<std::size_t>(index);
    if (known_[at] != Known::Unknown) {
        if (known_[at] != known && consistent_) {
            trail_.push_back({Change::Kind::Consistency, 0, {}});
            consistent_ = false;
        }
        return;
    }
    trail_.push_back({Change::Kind::CellKnown, index, {}});
    known_[at] = known;
    if (known == Known::Mine)
        ++provenMines_;
    for (const int id : rulesAt_[at]) {
        Rule& rule = rules_[static_cast<std::size_t>(id)];
        if (!rule.cells.contains(index))
            continue;
        trail_.push_back({Change::Kind::RuleChanged, id, rule});
        rule.cells.erase(index);
        rule.need -= known == Known::Mine ? 1 : 0;
        if (!queued_[static_cast<std::size_t>(id)]) {
            queued_[static_cast<std::size_t>(id)] = 1;
            queue_.push_back(id);
        }
    }
}

// `size` cells that hold from `fewest` to `most` mines: all mines, or all free, when the
// bounds leave no choice.
void Deduction::settle(const CellSet& cells, int size, int fewest, int most)
{
    if (size == 0)
        return;
    if (!chain_) {
        if (fewest >= size || most <= 0)
            cells.forEach([&](int cell) {
                pending_.emplace_back(cell, fewest >= size ? Known::Mine : Known::Free);
            });
        return;
    }
    if (fewest >= size)
        cells.forEach([this](int cell) { setKnown(cell, Known::Mine); });
    else if (most <= 0)
        cells.forEach([this](int cell) { setKnown(cell, Known::Free); });
}

void Deduction::examine(int id)
{
    const Rule rule = rules_[static_cast<std::size_t>(id)];
    const int size = rule.cells.size();
    if (rule.need < 0 || rule.need > size) {
        trail_.push_back({Change::Kind::Consistency, 0, {}});
        consistent_ = false;
        return;
    }
    if (size == 0)
        return;
    settle(rule.cells, size, rule.need, rule.need);
    if (rule.need == 0 || rule.need == size)
        return;
    // Each other number sharing a cell, once: a pair is looked at again whenever either
    // number changes.
    std::vector<int> others;
    rule.cells.forEach([&](int cell) {
        for (const int other : rulesAt_[static_cast<std::size_t>(cell)])
            if (other != id && std::find(others.begin(), others.end(), other) == others.end())
                others.push_back(other);
    });
    for (const int other : others)
        if (consistent_)
            examinePair(id, other);
}

void Deduction::examinePair(int first, int second)
{
    // Copies: settling cells changes the rules.
    const Rule a = rules_[static_cast<std::size_t>(first)];
    const Rule b = rules_[static_cast<std::size_t>(second)];
    const CellSet shared = a.cells & b.cells;
    if (shared.empty())
        return;
    const CellSet onlyA = a.cells.without(b.cells);
    const CellSet onlyB = b.cells.without(a.cells);
    const int both = shared.size();
    const int aOnly = onlyA.size();
    const int bOnly = onlyB.size();
    // The mines in the shared cells: what each number leaves for its own cells bounds them.
    const int low = std::max({0, a.need - aOnly, b.need - bOnly});
    const int high = std::min({both, a.need, b.need});
    if (low > high) {
        trail_.push_back({Change::Kind::Consistency, 0, {}});
        consistent_ = false;
        return;
    }
    settle(shared, both, low, high);
    settle(onlyA, aOnly, a.need - high, a.need - low);
    settle(onlyB, bOnly, b.need - high, b.need - low);
}

void Deduction::propagate()
{
    while (!queue_.empty() && consistent_) {
        const int id = queue_.back();
        queue_.pop_back();
        queued_[static_cast<std::size_t>(id)] = 0;
        examine(id);
    }
    if (!consistent_) {
        queue_.clear();
        std::fill(queued_.begin(), queued_.end(), 0);
    }
}

} // namespace volcanelle
