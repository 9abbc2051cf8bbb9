// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/classicstyle.h"

#include "ui/fonts.h"

#include <QStyleFactory>
#include <QWidget>

namespace volcanelle {

ClassicStyle::ClassicStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int ClassicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void keepClassicLook(QWidget* window)
{
    // The style's own palette, not the application's: that one comes from the theme.
    QPalette palette = ClassicStyle().standardPalette();
    palette.setResolveMask(~QPalette::ResolveMask{0});
    window->setPalette(palette);
    QFont font = fonts::window();
    font.setResolveMask(QFont::AllPropertiesResolved);
    window->setFont(font);
}

} // namespace volcanelle
