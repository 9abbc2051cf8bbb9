// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace volcanelle {
class demin;
}

namespace volcanelle::testing {

/// What a player can read on a window: the captions, the status bar, the covers, and the
/// picture of every uncovered cell. Covered cells show nothing, so their content is not
/// compared.
QStringList visible(demin& window);

} // namespace volcanelle::testing
