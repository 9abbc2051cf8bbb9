#include "fonts.h"

#include <QStringList>

namespace volcanelle::fonts {

namespace {
const QString kSans = QStringLiteral("MS Sans Serif");
const QString kSerif = QStringLiteral("Palatino Linotype");
} // namespace

void registerSubstitutes()
{
    QFont::insertSubstitutions(kSans, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                       QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"),
                                       QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kSerif,
                               {QStringLiteral("P052"), QStringLiteral("TeX Gyre Pagella"),
                                QStringLiteral("URW Palladio L"), QStringLiteral("Palatino"),
                                QStringLiteral("DejaVu Serif")});
}

QFont window()
{
    // Weight and slant are set explicitly so that a label inside a bold italic frame
    // does not inherit them.
    QFont font(kSans);
    font.setPointSizeF(8.25);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

QFont windowBold()
{
    QFont font = window();
    font.setBold(true);
    return font;
}

QFont playerFrame()
{
    QFont font(kSerif);
    font.setPointSizeF(12);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QFont aboutTitle()
{
    QFont font(kSans);
    font.setPointSizeF(13.5);
    font.setBold(true);
    return font;
}

} // namespace volcanelle::fonts
