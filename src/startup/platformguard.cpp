// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/platformguard.h"

#include "startup/commandline.h"

#include <QGuiApplication>
#include <QMutex>
#include <QStringList>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace volcanelle {

namespace {

std::atomic<bool> starting{false};
QtMessageHandler previous = nullptr;
QMutex heldLock;
// What Qt said while the platform was starting, for when the start goes well.
struct Held {
    QtMsgType type;
    QString message;
};
QList<Held>* held = nullptr;

void say(const QString& sentence)
{
    std::fprintf(stderr, "%s\n", withVisibleControls(sentence).toLocal8Bit().constData());
    std::fflush(stderr);
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The xcb platform's own words when the X server closes the connection; it then exits
    // with status 1 by itself, from whichever thread noticed.
    if (message.startsWith(QLatin1String("The X11 connection broke"))) {
        say(QStringLiteral("Volcanelle : la connexion avec l'affichage X11 est rompue (serveur "
                           "arrêté ou fenêtre fermée de force). Le jeu s'arrête."));
        return;
    }
    if (starting.load()) {
        if (type == QtFatalMsg) {
            say(platformFailure(qEnvironmentVariable("QT_QPA_PLATFORM")));
            std::_Exit(1);
        }
        const QMutexLocker lock(&heldLock);
        if (held) {
            held->append({type, message});
            return;
        }
    }
    if (previous)
        previous(type, context, message);
}

} // namespace

QString platformFailure(const QString& platforms)
{
    const QString name = platforms.section(u';', 0, 0).section(u':', 0, 0).trimmed();
    return QStringLiteral("Volcanelle a besoin d'un affichage graphique : %1 n'a pu ouvrir "
                          "d'écran.")
        .arg(name.isEmpty() ? QStringLiteral("aucune plateforme graphique")
                            : QStringLiteral("la plateforme « %1 »").arg(name));
}

void beginPlatformStart()
{
    {
        const QMutexLocker lock(&heldLock);
        delete held;
        held = new QList<Held>;
    }
    starting.store(true);
    previous = qInstallMessageHandler(handle);
}

void endPlatformStart()
{
    if (QGuiApplication::screens().isEmpty()) {
        say(platformFailure(QGuiApplication::platformName()));
        // At once, as on a fatal message: nothing of the game exists yet, and a platform
        // that found no screen is not taken down cleanly (linuxfb leaves its input handlers
        // behind, which the leak checker would count against the game).
        std::_Exit(1);
    }
    starting.store(false);
    QList<Held> messages;
    {
        const QMutexLocker lock(&heldLock);
        if (held)
            messages.swap(*held);
        delete held;
        held = nullptr;
    }
    for (const Held& message : messages) {
        if (previous)
            previous(message.type, QMessageLogContext(), message.message);
        else
            std::fprintf(stderr, "%s\n", message.message.toLocal8Bit().constData());
    }
}

} // namespace volcanelle
