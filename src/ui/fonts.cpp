// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fonts.h"

#include <QStringList>

namespace volcanelle::fonts {

namespace {
const QString kSans = QStringLiteral("MS Sans Serif");
const QString kSerif = QStringLiteral("Palatino Linotype");
// The stand-ins for "MS Sans Serif" are wider than it: at their natural width
// "Parties gagnées : 10" already overflows its 97-pixel label and wraps its number onto a line
// the label cuts off. Drawn at 88 % of their width, the widest caption the players' panels
// show, "Parties gagnées : 999", takes 94 pixels in Liberation Sans and Nimbus Sans; 90 %
// would leave a single pixel, too little for another hinting or renderer.
constexpr int kWindowStretch = 88;
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
    font.setStretch(kWindowStretch);
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
