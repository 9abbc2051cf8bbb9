// SPDX-License-Identifier: GPL-3.0-or-later
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

// How the swords are drawn at a given size. Below 32 pixels the thin outline would blur into
// the white blades and both would vanish on a light panel: the outline is kept one pixel wide
// and the blades are widened to keep their white inside it.
struct Style {
    qreal line = 0.9;
    qreal bladeHalfWidth = 2.0;
    bool withGroove = false;
};

Style styleFor(int size)
{
    Style style;
    style.withGroove = size >= 48;
    if (size < 32) {
        style.line = units / size;
        style.bladeHalfWidth = 2.0 + 0.6 * style.line;
    }
    return style;
}

// What a sword is drawn with: QPainter for the pictures, SVG text for the scalable icon.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void polygon(const QPolygonF& points, const QColor& fill) = 0;
    virtual void line(QPointF from, QPointF to, const QColor& colour, qreal width) = 0;
    virtual void roundedRect(const QRectF& rect, qreal radius, const QColor& fill) = 0;
    virtual void ellipse(QPointF centre, qreal radius, const QColor& fill) = 0;
    // What is drawn until endRotation() is turned by `degrees` clockwise about the origin.
    virtual void beginRotation(qreal degrees) = 0;
    virtual void endRotation() = 0;
};

// One sword pointing straight up, the crossing point of the two blades at the origin. The groove
// along the blade is left out at small sizes, where it would only grey the white blade.
void drawSword(Canvas& canvas, const Style& style)
{
    const qreal w = style.bladeHalfWidth;
    canvas.polygon({QPointF(-w, 7.0), QPointF(-w, -14.4), QPointF(0, -17.4), QPointF(w, -14.4),
                    QPointF(w, 7.0)},
                   blade);
    if (style.withGroove) {
        canvas.line(QPointF(0, 5.6), QPointF(0, -13.0), groove, 0.7);
    }
    canvas.roundedRect(QRectF(-1.1, 9.0, 2.2, 5.0), 0, grip);
    canvas.roundedRect(QRectF(-5.6, 6.8, 11.2, 2.4), 1.0, guard);
    canvas.ellipse(QPointF(0, 15.6), 1.8, guard);
}

// Both swords crossed, the second over the first, about the origin.
void drawSwords(Canvas& canvas, const Style& style)
{
    for (const qreal angle : {45.0, -45.0}) {
        canvas.beginRotation(angle);
        drawSword(canvas, style);
        canvas.endRotation();
    }
}

class PainterCanvas : public Canvas {
public:
    PainterCanvas(QPainter& painter, const Style& style) : painter_(painter)
    {
        painter_.setPen(QPen(outline, style.line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    void polygon(const QPolygonF& points, const QColor& fill) override
    {
        painter_.setBrush(fill);
        painter_.drawPolygon(points);
    }
    void line(QPointF from, QPointF to, const QColor& colour, qreal width) override
    {
        painter_.save();
        painter_.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        painter_.drawLine(from, to);
        painter_.restore();
    }
    void roundedRect(const QRectF& rect, qreal radius, const QColor& fill) override
    {
        painter_.setBrush(fill);
        if (radius > 0) {
            painter_.drawRoundedRect(rect, radius, radius);
        } else {
            painter_.drawRect(rect);
        }
    }
    void ellipse(QPointF centre, qreal radius, const QColor& fill) override
    {
        painter_.setBrush(fill);
        painter_.drawEllipse(centre, radius, radius);
    }
    void beginRotation(qreal degrees) override
    {
        painter_.save();
        painter_.rotate(degrees);
    }
    void endRotation() override { painter_.restore(); }

private:
    QPainter& painter_;
};

class SvgCanvas : public Canvas {
public:
    QString text;

    void polygon(const QPolygonF& points, const QColor& fill) override
    {
        QStringList coordinates;
        for (const QPointF& point : points) {
            coordinates << number(point.x()) + QLatin1Char(',') + number(point.y());
        }
        add(QStringLiteral("<polygon points=\"%1\" fill=\"%2\"/>")
                .arg(coordinates.join(QLatin1Char(' ')), fill.name()));
    }
    void line(QPointF from, QPointF to, const QColor& colour, qreal width) override
    {
        add(QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
                           "stroke-width=\"%6\"/>")
                .arg(number(from.x()), number(from.y()), number(to.x()), number(to.y()),
                     colour.name(), number(width)));
    }
    void roundedRect(const QRectF& rect, qreal radius, const QColor& fill) override
    {
        add(QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                           "fill=\"%6\"/>")
                .arg(number(rect.x()), number(rect.y()), number(rect.width()),
                     number(rect.height()), number(radius), fill.name()));
    }
    void ellipse(QPointF centre, qreal radius, const QColor& fill) override
    {
        add(QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>")
                .arg(number(centre.x()), number(centre.y()), number(radius), fill.name()));
    }
    void beginRotation(qreal degrees) override
    {
        text += QStringLiteral("  <g transform=\"rotate(%1)\">\n").arg(number(degrees));
    }
    void endRotation() override { text += QStringLiteral("  </g>\n"); }
    void add(const QString& element)
    {
        text += QStringLiteral("    ") + element + QLatin1Char('\n');
    }

private:
    static QString number(qreal value) { return QString::number(value, 'g', 4); }
};

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
    const Style style = styleFor(size);
    PainterCanvas canvas(painter, style);
    drawSwords(canvas, style);
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

QByteArray SwordsIcon::drawScalable()
{
    // Drawn as at large sizes, groove included; a viewer scales the 32-unit square.
    const Style style = styleFor(256);
    SvgCanvas canvas;
    drawSwords(canvas, style);
    const QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                       "viewBox=\"0 0 32 32\">\n"
                       " <g transform=\"translate(16 15.5)\" stroke=\"%1\" stroke-width=\"%2\" "
                       "stroke-linecap=\"round\" stroke-linejoin=\"round\">\n%3 </g>\n</svg>\n")
            .arg(outline.name())
            .arg(style.line)
            .arg(canvas.text);
    return svg.toUtf8();
}
