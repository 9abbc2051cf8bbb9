// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QSettings;

namespace volcanelle {

/// Sets what every window of the game shares: names and version, the French locale, the
/// fonts and the icon. Call once, right after the QApplication is built.
void prepareApplication();

/// The game's settings: ~/.config/volcanelle/volcanelle.conf on Linux. Only the modes that
/// remember something (the computer's level, the duel server) open it.
std::unique_ptr<QSettings> openGameSettings();

} // namespace volcanelle
