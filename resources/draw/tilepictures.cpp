// SPDX-License-Identifier: GPL-3.0-or-later
#include "tilepictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

const QColor background(236, 233, 216);
const QColor mineBackground(254, 0, 0);

// Colours of the digits 1 to 8.
const std::array<QColor, 8> digitColours = {
    QColor(0, 0, 255),     // 1 blue
    QColor(0, 128, 0),     // 2 dark green
    QColor(255, 0, 0),     // 3 red
    QColor(128, 0, 128),   // 4 purple
    QColor(128, 64, 0),    // 5 brown
    QColor(0, 200, 0),     // 6 bright green
    QColor(0, 0, 100),     // 7 dark navy blue
    QColor(128, 128, 128), // 8 grey
};

// Columns 8 to 16 and rows 5 to 18: a little above and left of the centre.
const QRectF digitBox(8, 5, 9, 14);

void drawDigit(QPainter& painter, int digit)
{
    // The outline is scaled into the box rather than rendered at a small pixel size, so hinting
    // and the font's own metrics do not move the digit.
    QPainterPath glyph;
    glyph.addText(0, 0, TilePictures::digitFont(), QString::number(digit));
    if (digit == 7) {
        glyph = QTransform(1, 0, -0.25, 1, 0, 0).map(glyph); // lean the top to the right
    }
    const QRectF bounds = glyph.boundingRect();
    const qreal scaleY = digitBox.height() / bounds.height();
    const qreal scaleX = std::min(scaleY, digitBox.width() / bounds.width());
    QTransform fit;
    fit.translate(digitBox.center().x(), digitBox.center().y());
    fit.scale(scaleX, scaleY);
    fit.translate(-bounds.center().x(), -bounds.center().y());

    painter.setPen(Qt::NoPen);
    painter.setBrush(digitColours[digit - 1]);
    painter.drawPath(fit.map(glyph));
}

QPainterPath star(QPointF centre, qreal outer, qreal inner, int points)
{
    QPolygonF polygon;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = std::numbers::pi * i / points - std::numbers::pi / 2;
        const qreal radius = (i % 2 == 0) ? outer : inner;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

void drawMine(QPainter& painter)
{
    painter.setPen(Qt::NoPen);

    // Cap where the fuse leaves the body, turned towards the top right.
    painter.save();
    painter.translate(15.6, 9.4);
    painter.rotate(45);
    painter.setBrush(QColor(70, 70, 70));
    painter.drawRect(QRectF(-2.2, -2.2, 4.4, 3.4));
    painter.restore();

    const QPointF centre(11, 14);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, 7.5, 7.5);
    painter.setBrush(QColor(110, 110, 110));
    painter.drawEllipse(QPointF(8.4, 11.4), 1.6, 1.6);

    QPainterPath fuse(QPointF(16.6, 8.4));
    fuse.cubicTo(QPointF(17.5, 6.0), QPointF(18.5, 6.5), QPointF(19.8, 4.9));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(240, 220, 170), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(fuse);

    const QPointF spark(20.3, 4.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 0));
    painter.drawPath(star(spark, 4.0, 1.4, 6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(spark, 1.1, 1.1);
}

} // namespace

QFont TilePictures::digitFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QImage TilePictures::draw(int number, int scale)
{
    if (number < 1 || number > count || scale < 1) {
        return QImage();
    }
    QImage image(side * scale, side * scale, QImage::Format_RGB32);
    image.fill(number == 9 ? mineBackground : background);
    if (number == 10) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    if (number == 9) {
        drawMine(painter);
    } else {
        drawDigit(painter, number);
    }
    return image;
}
