// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/coverbutton.h"

#include <QPainter>

namespace volcanelle {

CoverButton::CoverButton(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QSize CoverButton::sizeHint() const
{
    return {25, 25};
}

void CoverButton::paintEvent(QPaintEvent*)
{
    // Fixed classic colours: the raised look must read the same under every style and
    // palette, and the face must differ from the uncovered pictures' background.
    static const QColor face(212, 208, 200);
    static const QColor highlight(255, 255, 255);
    static const QColor light(232, 230, 222);
    static const QColor shadow(128, 128, 128);
    static const QColor darkShadow(64, 64, 64);

    QPainter painter(this);
    painter.fillRect(rect(), face);

    // The outermost pixel ring lies under the board's grid lines; the two-pixel bevel sits
    // just inside it, reversed while the button is held down.
    const bool down = isDown();
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int l = inner.left(), t = inner.top(), r = inner.right(), b = inner.bottom();
    // Each line is a filled rectangle one logical pixel thick: a pen line would straddle device
    // pixels on a screen of two pixels per logical pixel and land one device pixel off.
    const auto line = [&painter](int x1, int y1, int x2, int y2, const QColor& colour) {
        painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
    };
    line(l, t, r - 1, t, down ? darkShadow : highlight);
    line(l, t, l, b - 1, down ? darkShadow : highlight);
    line(l + 1, t + 1, r - 2, t + 1, down ? shadow : light);
    line(l + 1, t + 1, l + 1, b - 2, down ? shadow : light);
    line(l, b, r, b, down ? highlight : darkShadow);
    line(r, t, r, b, down ? highlight : darkShadow);
    line(l + 1, b - 1, r - 1, b - 1, down ? light : shadow);
    line(r - 1, t + 1, r - 1, b - 1, down ? light : shadow);

    if (hasFocus())
        paintFocusFrame(painter, rect());
}

void paintFocusFrame(QPainter& painter, const QRect& cell)
{
    // Plain to see on the grey face and on every picture.
    static const QColor focusFrame(0, 0, 0);
    const QRect frame = cell.adjusted(4, 4, -4, -4);
    painter.fillRect(QRect(frame.topLeft(), QSize(frame.width(), 2)), focusFrame);
    painter.fillRect(QRect(frame.left(), frame.bottom() - 1, frame.width(), 2), focusFrame);
    painter.fillRect(QRect(frame.topLeft(), QSize(2, frame.height())), focusFrame);
    painter.fillRect(QRect(frame.right() - 1, frame.top(), 2, frame.height()), focusFrame);
}

} // namespace volcanelle
