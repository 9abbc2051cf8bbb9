// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractButton;
class QFont;
class QLabel;
class QRect;
class QWidget;

namespace volcanelle {

/// The name of member `index` of a control array: "cmdCase(12)".
QString arrayName(const char* name, int index);

/// A label of fixed size at `rect` (pixels) whose text wraps at word boundaries inside it.
QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                 const QFont& font);

/// Writes a label whose text changes during play, and names it for assistive technology by
/// what it shows and its current text: "<role> : <text>", or the role alone while empty.
void showCaption(QLabel* label, const QString& role, const QString& text);

/// Makes Enter press `button` while it has the focus, as Space does, the way command buttons
/// answer on the classic desktop; the button does not become a default button.
void pressOnEnter(QAbstractButton* button);

} // namespace volcanelle
