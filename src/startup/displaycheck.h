// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace volcanelle {

/// What the choice of Qt's graphical platform depends on.
struct DisplayEnvironment {
    QString platform;       ///< QT_QPA_PLATFORM: platforms to try, ";" between; Qt's own when empty
    QString display;        ///< DISPLAY, the X display
    QString waylandDisplay; ///< WAYLAND_DISPLAY
    /// Whether the Wayland socket that Qt would use is there: WAYLAND_DISPLAY's, or the
    /// default "wayland-0" when it is not set.
    bool waylandSocket = false;
};

/// Why the game cannot open a window, as a French sentence for the players, or nothing when
/// Qt can try. Only sure failures are reported: whatever might work is left for Qt to try.
/// `screenDepth` gives the bits per pixel of the default screen of the X display of that
/// name, nothing when it refuses the connection; `hasPlatform` tells whether Qt has a
/// platform plugin of that name.
std::optional<QString>
displayProblem(const DisplayEnvironment& environment,
               const std::function<std::optional<int>(const QString&)>& screenDepth,
               const std::function<bool(const QString&)>& hasPlatform);

/// Checks the process's environment before the application object exists, since Qt aborts
/// when no platform starts. Prints the problem on standard error and returns the exit status
/// 1; nothing when the game can start.
std::optional<int> checkDisplay();

} // namespace volcanelle
