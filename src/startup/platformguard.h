// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace volcanelle {

/// Turns the ways Qt's graphical platform fails into French sentences and status 1.
///
/// Qt aborts when its platform cannot open a screen, with an English message among its own
/// warnings, and writes another when the X server goes away. From `beginPlatformStart()` until
/// `endPlatformStart()`, Qt's messages are held back: a fatal one prints only the French
/// sentence and ends the program with status 1; the start's end prints the held messages as
/// they were. A lost X connection is then told in French for as long as the program runs.
void beginPlatformStart();

/// The platform opened a screen: prints the messages held back and lets fatal messages
/// through again. When Qt has no screen at all (a frame buffer that is not there), prints the
/// French sentence and ends the program with status 1.
void endPlatformStart();

/// The sentence for a platform that could not open a screen; `platforms` is QT_QPA_PLATFORM.
QString platformFailure(const QString& platforms);

} // namespace volcanelle
