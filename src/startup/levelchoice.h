// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/computerlevel.h"

#include <functional>
#include <memory>
#include <optional>

class QSettings;
class QWidget;

namespace volcanelle {

/// The level chosen last, kept in the game's settings between runs. Only a game against the
/// computer reads or writes them.
class LevelMemory {
public:
    /// `settings` is the game's own store (gameSettings()) or, in tests, another one.
    explicit LevelMemory(QSettings& settings) : settings_(settings) {}

    /// The level chosen last; kFirstLevel when none was ever chosen, or when what is kept is
    /// not a level (a warning on stderr says so).
    Level last() const;
    /// Keeps `level` as the level chosen last; a warning on stderr when it cannot be written.
    void remember(Level level);

private:
    QSettings& settings_;
};

/// The level of a game against the computer: the one `given` on the command line, else, when
/// `boxed`, the one chosen with `ask` (offered the level chosen last, it returns nothing when
/// the players close the box), else the level chosen last. A level given or chosen is
/// remembered. Nothing when the box was closed: the game ends.
std::optional<Level> computerLevel(std::optional<Level> given, bool boxed, LevelMemory& memory,
                                   const std::function<std::optional<Level>(Level)>& ask);

/// The box that asks the level: one button per level, `offered` the default.
std::optional<Level> askLevel(QWidget* parent, Level offered);

} // namespace volcanelle
