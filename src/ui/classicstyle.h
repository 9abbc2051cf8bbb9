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
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace volcanelle
