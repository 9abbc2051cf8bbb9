// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

class QPainter;

namespace volcanelle {

/// The cover of a cell: a square raised button painted fully opaque to its very corners, so
/// that nothing of the picture underneath shows through, whatever the widget style.
class CoverButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CoverButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// The keyboard focus on a cell, covered or not: two pixels of black inside the cell's bevel.
void paintFocusFrame(QPainter& painter, const QRect& cell);

} // namespace volcanelle
