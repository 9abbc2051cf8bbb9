#pragma once

#include <vector>

namespace volcanelle {

/// The costliest board to open: 30 mines filling rows 13 and 14, so that a click on cell 0
/// opens cells 0 to 194 through 180 nested reveals.
std::vector<int> worstRevealMines();

} // namespace volcanelle
