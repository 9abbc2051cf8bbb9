// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include "engine/texts.h"
#include "ui/classicstyle.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
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

// A PNG file read as PNG. Left to find the format itself, Qt would first load every image
// plug-in (JPEG, GIF, ICO...) to ask each one, all of it before the first box could show.
QPixmap png(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The 32 x 32 sixteen-colour icon, with the theme's larger drawings of the same picture for
// high-density screens and large task switchers.
QIcon windowIcon()
{
    QIcon icon;
    icon.addPixmap(png(QStringLiteral(":/icon.png")));
    for (int size : {16, 24, 48, 64, 128, 256})
        icon.addPixmap(png(QStringLiteral(":/icons/%1.png").arg(size)));
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

std::unique_ptr<QSettings> openGameSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("volcanelle"), QStringLiteral("volcanelle"));
}

} // namespace volcanelle
