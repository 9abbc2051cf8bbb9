// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace volcanelle::testing {

/// "<title>|<text>" of a box; for an input box, its prompt; for another dialog, its label.
QString describe(QWidget* box);
/// Clicks the visible button whose text is `text`. False when there is none.
bool clickButton(QWidget* box, const QString& text);
/// Closes the box without an answer, so that exec() returns.
void closeAnyway(QWidget* box);

} // namespace volcanelle::testing
