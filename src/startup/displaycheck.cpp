// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/displaycheck.h"

#include "startup/commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <cstdio>
#include <xcb/xcb.h>

namespace volcanelle {

namespace {

QString needsDisplay(const QString& what)
{
    return QStringLiteral("Volcanelle a besoin d'un affichage graphique : %1").arg(what);
}

constexpr int kLeastDepth = 15;

std::optional<QString>
xProblem(const QString& display,
         const std::function<std::optional<int>(const QString&)>& screenDepth)
{
    if (display.isEmpty())
        return needsDisplay(QStringLiteral("la variable DISPLAY n'est pas définie."));
    const std::optional<int> depth = screenDepth(display);
    if (!depth)
        return needsDisplay(
            QStringLiteral("l'affichage « %1 » (variable DISPLAY) ne répond pas ou refuse la "
                           "connexion.")
                .arg(display));
    // Qt's widgets crash on a screen of 256 colours or fewer; 15 bits is the least they draw on.
    if (*depth < kLeastDepth)
        return QStringLiteral("Volcanelle a besoin d'un écran d'au moins %1 bits par pixel : "
                              "celui de l'affichage « %2 » n'en a que %3.")
            .arg(kLeastDepth)
            .arg(display)
            .arg(*depth);
    return std::nullopt;
}

std::optional<int> defaultScreenDepth(const QString& display)
{
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), &screenNumber);
    std::optional<int> depth;
    if (xcb_connection_has_error(connection) == 0) {
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int skipped = 0; screen.rem > 0 && skipped < screenNumber; ++skipped)
            xcb_screen_next(&screen);
        depth = screen.rem > 0 ? screen.data->root_depth : 0;
    }
    xcb_disconnect(connection);
    return depth;
}

// Whether Qt's platform plugins include `name`: by file name first ("libqxcb.so"), then by
// the keys each plugin declares, read without loading it. Plugins from other folders cannot
// be ruled out.
bool hasPlatform(const QString& name)
{
    if (qEnvironmentVariableIsSet("QT_PLUGIN_PATH") ||
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        return true;
    const QDir folder(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    if (folder.exists(QStringLiteral("libq%1.so").arg(name)))
        return true;
    for (const QString& file : folder.entryList(QDir::Files)) {
        const QJsonObject meta = QPluginLoader(folder.filePath(file))
                                     .metaData()
                                     .value(QStringLiteral("MetaData"))
                                     .toObject();
        for (const auto key : meta.value(QStringLiteral("Keys")).toArray())
            if (key.toString().compare(name, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

} // namespace

std::optional<QString>
displayProblem(const DisplayEnvironment& environment,
               const std::function<std::optional<int>(const QString&)>& screenDepth,
               const std::function<bool(const QString&)>& hasPlatform)
{
    // "xcb:option=value;wayland": the names, without their options.
    QStringList platforms;
    for (const QString& entry : environment.platform.split(u';', Qt::SkipEmptyParts))
        if (const QString name = entry.section(u':', 0, 0).trimmed().toLower(); !name.isEmpty())
            platforms << name;

    const bool wayland = environment.waylandSocket && hasPlatform(QStringLiteral("wayland"));
    // Qt's own choice is Wayland in a Wayland session it can reach, X11 otherwise.
    if (platforms.isEmpty())
        return !environment.waylandDisplay.isEmpty() && wayland
                   ? std::nullopt
                   : xProblem(environment.display, screenDepth);
    for (const QString& name : platforms) {
        if (name == QLatin1String("xcb")
                ? !xProblem(environment.display, screenDepth)
                : hasPlatform(name) && (!name.startsWith(QLatin1String("wayland")) || wayland))
            return std::nullopt;
    }
    const QString& first = platforms.first();
    if (first == QLatin1String("xcb"))
        return xProblem(environment.display, screenDepth);
    if (!hasPlatform(first))
        return needsDisplay(
            QStringLiteral("la plateforme « %1 » demandée par la variable QT_QPA_PLATFORM "
                           "n'est pas installée.")
                .arg(first));
    if (environment.waylandDisplay.isEmpty())
        return needsDisplay(QStringLiteral("la variable WAYLAND_DISPLAY n'est pas définie et "
                                           "l'affichage Wayland par défaut n'existe pas."));
    return needsDisplay(QStringLiteral("l'affichage Wayland « %1 » (variable WAYLAND_DISPLAY) "
                                       "n'existe pas.")
                            .arg(environment.waylandDisplay));
}

std::optional<int> checkDisplay()
{
    DisplayEnvironment environment{qEnvironmentVariable("QT_QPA_PLATFORM"),
                                   qEnvironmentVariable("DISPLAY"),
                                   qEnvironmentVariable("WAYLAND_DISPLAY")};
    // Where Wayland's client library looks: an absolute name as it is, any other in the
    // session's runtime folder.
    const QString socket = environment.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0")
                                                                : environment.waylandDisplay;
    environment.waylandSocket = QFileInfo::exists(
        socket.startsWith(u'/') ? socket : qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + socket);
    const std::optional<QString> problem =
        displayProblem(environment, defaultScreenDepth, hasPlatform);
    if (!problem)
        return std::nullopt;
    // The variables' values are quoted: they must not drive the terminal.
    std::fprintf(stderr, "%s\n", withVisibleControls(*problem).toLocal8Bit().constData());
    return 1;
}

} // namespace volcanelle
