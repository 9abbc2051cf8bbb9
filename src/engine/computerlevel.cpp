// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/computerlevel.h"

#include "engine/duelplanner.h"
#include "engine/solver.h"

#include <vector>

namespace volcanelle {

QString levelName(Level level)
{
    switch (level) {
    case Level::Facile:
        return QStringLiteral("facile");
    case Level::Moyen:
        return QStringLiteral("moyen");
    case Level::Difficile:
        break;
    }
    return QStringLiteral("difficile");
}

std::optional<Level> levelFromName(const QString& name)
{
    for (const Level level : kLevels)
        if (levelName(level) == name)
            return level;
    return std::nullopt;
}

QString levelNames()
{
    return QStringLiteral("%1, %2 ou %3")
        .arg(levelName(Level::Facile), levelName(Level::Moyen), levelName(Level::Difficile));
}

ComputerLevel::ComputerLevel(Level level, std::uint32_t seed) : level_(level), random_(seed) {}

int ComputerLevel::chooseCell(const VisibleBoard& seen)
{
    switch (level_) {
    case Level::Facile: {
        lastExact_ = true;
        const int proven = provenBySingleNumber(seen);
        return proven >= 0 ? proven : randomCoveredCell(seen, random_);
    }
    case Level::Moyen: {
        const MineOdds odds = mineOdds(seen);
        lastExact_ = odds.exact;
        return bestCell(seen, odds);
    }
    case Level::Difficile:
        break;
    }
    const Plan plan = planDuelMove(seen, random_);
    lastExact_ = plan.exact;
    return plan.cell;
}

int provenBySingleNumber(const VisibleBoard& seen)
{
    for (int index = 0; index < kCells; ++index) {
        const int shown = seen.seen(index);
        if (shown <= 0 || shown > 8)
            continue;
        int covered = 0;
        int found = 0;
        int some = -1;
        for (const int n : neighbours(index)) {
            if (seen.isCovered(n)) {
                ++covered;
                some = n;
            } else if (seen.seen(n) == VisibleBoard::kFoundMine) {
                ++found;
            }
        }
        if (covered > 0 && shown - found == covered)
            return some;
    }
    return -1;
}

int randomCoveredCell(const VisibleBoard& seen, std::mt19937& random)
{
    std::vector<int> covered;
    for (int index = 0; index < kCells; ++index)
        if (seen.isCovered(index))
            covered.push_back(index);
    if (covered.empty())
        return -1;
    return covered[std::uniform_int_distribution<std::size_t>(0, covered.size() - 1)(random)];
}

} // namespace volcanelle
