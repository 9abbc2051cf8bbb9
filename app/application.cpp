#include "application.h"

#include "classicstyle.h"
#include "fonts.h"
#include "texts.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace volcanelle {

namespace {

// Qt's own texts (context menus, standard buttons, file names in boxes) in French, whatever
// the system's language. Without Debian's translation files Qt falls back to English.
void loadQtTranslations(const QLocale& french)
{
    auto* translator = new QTranslator(qApp);
    if (translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

// The 32 x 32 sixteen-colour icon, with the theme's larger drawings of the same picture for
// high-density screens and large task switchers.
QIcon windowIcon()
{
    QIcon icon(QStringLiteral(":/icon.png"));
    for (int size : {16, 24, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

void prepareApplication()
{
    // The desktop entry's name, so that docks and task bars group the window with its launcher:
    // on X11 the application name is the window's class (WM_CLASS), on Wayland the desktop file
    // name is its app id.
    QApplication::setApplicationName(QStringLiteral(VOLCANELLE_APP_ID));
    QGuiApplication::setDesktopFileName(QStringLiteral(VOLCANELLE_APP_ID));
    // No display name: on X11 Qt would append it to every other title, "Quitter ? — Volcanelle".
    QApplication::setApplicationVersion(texts::versionNumber());
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    loadQtTranslations(french);
    QApplication::setStyle(new ClassicStyle);
    fonts::registerSubstitutes();
    QApplication::setFont(fonts::window());
    QApplication::setWindowIcon(windowIcon());
}

} // namespace volcanelle
