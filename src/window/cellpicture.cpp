// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/cellpicture.h"

#include "window/coverbutton.h"

#include <QPainter>

namespace volcanelle {

CellPicture::CellPicture(QWidget* parent) : QLabel(parent)
{
    // Reached by the board's keys only: neither Tab nor a click stops on a picture, so that
    // nothing changes for the mouse and the tab order.
    setFocusPolicy(Qt::NoFocus);
}

void CellPicture::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        paintFocusFrame(painter, rect());
    }
}

void CellPicture::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    update();
}

void CellPicture::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    update();
}

} // namespace volcanelle
