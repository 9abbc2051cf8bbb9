#include "coverbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
    painter.setPen(down ? darkShadow : highlight);
    painter.drawLine(l, t, r - 1, t);
    painter.drawLine(l, t, l, b - 1);
    painter.setPen(down ? shadow : light);
    painter.drawLine(l + 1, t + 1, r - 2, t + 1);
    painter.drawLine(l + 1, t + 1, l + 1, b - 2);
    painter.setPen(down ? highlight : darkShadow);
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    painter.setPen(down ? light : shadow);
    painter.drawLine(l + 1, b - 1, r - 1, b - 1);
    painter.drawLine(r - 1, t + 1, r - 1, b - 1);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(5, 5, -5, -5);
        focus.backgroundColor = face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace volcanelle
