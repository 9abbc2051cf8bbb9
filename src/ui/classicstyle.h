// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace volcanelle {

/// The platform's style with the classic desktop's plain dialog buttons: no icons on "OK",
/// "Oui", "Non" and "Annuler". Besides the look, it spares loading an icon theme before the
/// first box can show.
class ClassicStyle : public QProxyStyle {
    Q_OBJECT
public:
    /// Always on Qt's Fusion style, whatever style the desktop theme asks for.
    ClassicStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

/// Gives `window` the game's own colours and font, so that a desktop theme (a dark palette,
/// a larger font) changes nothing in a window laid out to the pixel: every colour role and
/// every font property is set on the window itself, which its children inherit, and none is
/// left for the application's palette or font, which the theme may change at any time.
void keepClassicLook(QWidget* window);

} // namespace volcanelle
