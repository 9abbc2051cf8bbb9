// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace volcanelle::fonts {

/// Makes the faces the layout names resolve to the nearest installed ones. Call once, after
/// the application object exists and before any window is built.
void registerSubstitutes();

/// "MS Sans Serif", 8.25 pt, narrowed to the width of the face it stands for: every control
/// without a font of its own.
QFont window();
/// The same face, bold.
QFont windowBold();
/// "Palatino Linotype", 12 pt, bold italic: the players' panel captions.
QFont playerFrame();
/// "MS Sans Serif", 13.5 pt, bold: the title of the information window.
QFont aboutTitle();

} // namespace volcanelle::fonts
