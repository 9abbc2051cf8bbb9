// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volcanelle {

/// Sets what every window of the game shares: names and version, the French locale, the
/// fonts and the icon. Call once, right after the QApplication is built.
void prepareApplication();

} // namespace volcanelle
