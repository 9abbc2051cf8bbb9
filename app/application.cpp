#include "application.h"

#include "fonts.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

namespace volcanelle {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Volcanelle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Volcanelle"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    fonts::registerSubstitutes();
    QApplication::setFont(fonts::window());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
}

} // namespace volcanelle
