// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace volcanelle {

/// What assistive technology sees of the board: one table of 15 rows and 15 columns whose
/// cells are the covers, each telling its place and "couverte" or what it shows. The pictures
/// and grid lines are left out of the tree, so nothing under a cover can be read there.
/// Installed as a factory of QAccessible by the board.
QAccessibleInterface* boardAccessible(const QString& className, QObject* object);

} // namespace volcanelle
