#include "swordsicon.h"

#include <QPainter>
#include <array>
#include <climits>

namespace {

// Drawing units: the icon is 32 units across whatever its size in pixels.
constexpr qreal units = 32;

const QColor outline(32, 32, 32);
const QColor blade(255, 255, 255);
const QColor groove(190, 190, 205);
const QColor guard(255, 220, 0);
const QColor grip(215, 160, 0);

// Every colour of the drawing, with entry 0 the transparent background; the 16-colour icon maps
// each pixel to its nearest entry, so the list must stay within 16.
const std::array<QRgb, 6> palette = {
    qRgba(0, 0, 0, 0), outline.rgb(), blade.rgb(), groove.rgb(), guard.rgb(), grip.rgb(),
};

// One sword pointing straight up, the crossing point of the two blades at the origin. The groove
// along the blade is left out at small sizes, where it would only grey the white blade.
void drawSword(QPainter& painter, bool withGroove)
{
    const qreal line = 0.9;
    painter.setPen(QPen(outline, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    const QPolygonF bladeShape = {QPointF(-2.0, 7.0), QPointF(-2.0, -14.4), QPointF(0, -17.4),
                                  QPointF(2.0, -14.4), QPointF(2.0, 7.0)};
    painter.setBrush(blade);
    painter.drawPolygon(bladeShape);
    if (withGroove) {
        painter.save();
        painter.setPen(QPen(groove, 0.7, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, 5.6), QPointF(0, -13.0));
        painter.restore();
    }

    painter.setBrush(grip);
    painter.drawRect(QRectF(-1.1, 9.0, 2.2, 5.0));
    painter.setBrush(guard);
    painter.drawRoundedRect(QRectF(-5.6, 6.8, 11.2, 2.4), 1.0, 1.0);
    painter.drawEllipse(QPointF(0, 15.6), 1.8, 1.8);
}

int nearestEntry(QRgb colour)
{
    int best = 1;
    int bestDistance = INT_MAX;
    for (int i = 1; i < int(palette.size()); ++i) {
        const int dr = qRed(colour) - qRed(palette[i]);
        const int dg = qGreen(colour) - qGreen(palette[i]);
        const int db = qBlue(colour) - qBlue(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

QImage render(int size, bool antialiased)
{
    if (size < 1) {
        return QImage();
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.scale(size / units, size / units);
    painter.translate(16, 15.5);
    for (const qreal angle : {45.0, -45.0}) {
        painter.save();
        painter.rotate(angle);
        drawSword(painter, size >= 48);
        painter.restore();
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QImage SwordsIcon::draw(int size)
{
    return render(size, true);
}

QImage SwordsIcon::drawSixteenColours(int size)
{
    // Drawn without smoothing: blended edge pixels would have no palette entry to go to.
    const QImage full = render(size, false);
    if (full.isNull()) {
        return full;
    }
    QImage indexed(size, size, QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb colour = full.pixel(x, y);
            indexed.setPixel(x, y, qAlpha(colour) < 128 ? 0 : nearestEntry(colour));
        }
    }
    return indexed;
}
