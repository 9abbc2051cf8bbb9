// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace volcanelle {

/// Keeps the program reachable when another X client (`xdotool windowclose`, `windowunmap`,
/// a broken window manager) takes one of its windows away. Left alone, Qt goes on with a
/// window that is gone or hidden for good: the program runs on with nothing on screen, and
/// a modal box lost that way never returns.
/// - A window destroyed from outside is closed as its close box would close it.
/// - A window unmapped from outside, neither hidden by the program nor minimised, is mapped
///   again.
/// Does nothing on platforms other than X11.
void watchOutsideClients(QApplication& app);

} // namespace volcanelle
