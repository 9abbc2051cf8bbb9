#pragma once

class QApplication;

namespace volcanelle {

/// Closes, as its close box would, any window of the program that another X client destroys
/// (`xdotool windowclose`, a broken window manager). Left alone, Qt goes on with a window that
/// no longer exists: the program runs on with nothing on screen, and a modal box destroyed
/// that way never returns. Does nothing on platforms other than X11.
void closeWindowsDestroyedOutside(QApplication& app);

} // namespace volcanelle
