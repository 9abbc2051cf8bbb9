// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QAbstractButton;
class QLabel;
class QPoint;
class QRect;
class QWidget;

namespace volcanelle {
class demin;
}

namespace volcanelle::testing {

class ModalAnswerer;

/// The board most window tests play on: 30 mines filling rows 12 and 13. Rows 0 to 10 are
/// blank, row 11 and row 14 are numbered, and row 14 cannot be reached by a reveal, so its
/// covers stay on until someone clicks them.
std::vector<int> twoMineRows();
/// Numbered cells of that board: the first cell of row 11 and the first of row 14 (both 2).
inline constexpr int kNumberedAboveMines = 165;
inline constexpr int kNumberedBelowMines = 210;

/// The cover and the picture of cell `index`, found by name as the players' tools would.
QAbstractButton* cover(QWidget& window, int index);
QLabel* picture(QWidget& window, int index);
/// Where `widget` lies in the window's client area (below the menu bar), whatever its parent.
QRect inClient(QWidget& window, const QWidget* widget);
/// The text of the label called `name`, or "<no NAME>" when there is none.
QString caption(QWidget& window, const QString& name);
/// How many covers are not hidden.
int coversOn(QWidget& window);

/// Everything a player can read on the window, and the duel state behind it, one line per
/// item, so that two moments compare with QCOMPARE and a difference names what changed.
QStringList screen(demin& window);

/// Starts the duel as the program does, typing `mines` into the first input box. False when
/// the start failed or a box came that was not expected.
bool startDuel(demin& window, ModalAnswerer& answerer, const QString& mines);

/// Shows the window on the offscreen screen and waits until it is the active window, so that
/// shortcuts and Tab reach it.
bool showActive(QWidget& window);

/// A real left click in the middle of cell `index`, through the window (see clickAt). The
/// window must be shown.
void clickCell(demin& window, int index);

/// A real left click at `where` in the window's client area (below the menu bar), passed
/// through the window like the system's own, so that it reaches whatever widget lies there.
void clickAt(demin& window, const QPoint& where);

/// Runs what the event loop would run next, deferred deletions included.
void settle();

/// Plays the round in play of a twoMineRows() board to its end so that `winner` (1 or 2)
/// finds every mine, answering the end-of-round boxes. Goes through the duel directly: it
/// only sets up the counts that other tests start from.
void letWin(demin& window, ModalAnswerer& answerer, int winner);

} // namespace volcanelle::testing
