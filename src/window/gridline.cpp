// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/gridline.h"

#include <QPainter>

namespace volcanelle {

GridLine::GridLine(const QColor& colour, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

void GridLine::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), palette().color(QPalette::Window));
}

} // namespace volcanelle
