#pragma once

#include <QString>

class QFont;
class QLabel;
class QRect;
class QWidget;

namespace volcanelle {

/// A label of fixed size at `rect` (pixels) whose text wraps at word boundaries inside it.
QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                 const QFont& font);

} // namespace volcanelle
