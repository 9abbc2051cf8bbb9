// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fixeddraws.h"
#include "modalanswerer.h"

#include <vector>

namespace volcanelle {
class demin;
}

namespace volcanelle::testing {

/// 30 mines filling rows 12 and 13: rows 0 to 10 are blank, rows 11 and 14 are numbered.
std::vector<int> mineRowsBoard();

/// Starts the duel as the program does, typing "30" into the mine count box, then shows the
/// window and waits until it is active. False when any step failed.
bool startShown(demin& window, ModalAnswerer& answerer);

/// The name assistive technology reads for `widget`.
QString accessibleName(QWidget* widget);

} // namespace volcanelle::testing
