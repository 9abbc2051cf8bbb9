// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/visibleboard.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <random>

namespace volcanelle {

/// How well the computer plays.
/// - Facile takes a mine that a single number proves, and otherwise clicks any covered cell
///   at random: a player that someone learning the game can beat.
/// - Moyen clicks the cell most likely to hide a mine (bestCell), exact odds in hand.
/// - Difficile plays the duel: after the certain mines, it weighs each cell's chance of a mine
///   against what its number, or the blank area it opens, would hand the opponent.
enum class Level { Facile, Moyen, Difficile };

inline constexpr std::array<Level, 3> kLevels{Level::Facile, Level::Moyen, Level::Difficile};
/// The level played when none was ever chosen.
inline constexpr Level kFirstLevel = Level::Moyen;

/// The level's name, as the command line takes it and as it is remembered: "facile", "moyen",
/// "difficile".
QString levelName(Level level);
/// The level named `name` (lower case, as levelName() writes it), or nothing.
std::optional<Level> levelFromName(const QString& name);
/// "facile, moyen ou difficile", for help texts and refusals.
QString levelNames();

/// The computer choosing its clicks at one level. It sees only what a player sees.
class ComputerLevel {
public:
    /// `seed` starts the level's own chance (the facile clicks, difficile's drawn layouts).
    ComputerLevel(Level level, std::uint32_t seed);

    Level level() const { return level_; }
    /// The covered cell to click; -1 when none is covered.
    int chooseCell(const VisibleBoard& seen);
    /// Whether the last choice rested on exact counts only (facile counts nothing).
    bool lastExact() const { return lastExact_; }

private:
    Level level_;
    std::mt19937 random_;
    bool lastExact_ = true;
};

/// A mine that one number proves alone: a number whose covered neighbours are exactly the
/// mines it still lacks. -1 when there is none.
int provenBySingleNumber(const VisibleBoard& seen);

/// Any covered cell, each as likely; -1 when none is covered.
int randomCoveredCell(const VisibleBoard& seen, std::mt19937& random);

} // namespace volcanelle
