// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace volcanelle {

/// A straight line of the board's frame or grid: a strip of one colour, the palette's Window
/// colour, that takes no input.
///
/// It paints itself instead of filling its background, so that Qt does not count it as
/// opaque: opaque strips across the board would cut the paint region of the cells below
/// into hundreds of pieces, and a board repaint would take twice as long.
class GridLine : public QWidget {
public:
    GridLine(const QColor& colour, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace volcanelle
