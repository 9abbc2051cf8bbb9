// SPDX-License-Identifier: GPL-3.0-or-later
// Which Wayland set-ups and X screens the start lets Qt try, and what it says of the others.
// The X display and the installed plugins are given as answers, so that no display is needed.
#include "startup/displaycheck.h"

#include <QTest>

using namespace volcanelle;

namespace {

std::optional<int> noXServer(const QString&)
{
    return std::nullopt;
}
bool everyPlugin(const QString&)
{
    return true;
}
std::optional<QString> problem(const char* platform, const char* wayland, bool socket)
{
    DisplayEnvironment environment{QString::fromLatin1(platform), QString(),
                                   QString::fromLatin1(wayland)};
    environment.waylandSocket = socket;
    return displayProblem(environment, noXServer, everyPlugin);
}

} // namespace

class DisplayCheckTest : public QObject {
    Q_OBJECT
private slots:
    void waylandSockets()
    {
        // Qt's Wayland client connects to "wayland-0" when WAYLAND_DISPLAY is not set.
        QCOMPARE(problem("wayland", "", true), std::nullopt);
        QCOMPARE(problem("wayland", "wayland-1", true), std::nullopt);
        QCOMPARE(problem("", "wayland-1", true), std::nullopt);

        QCOMPARE(problem("wayland", "", false),
                 QStringLiteral("Volcanelle a besoin d'un affichage graphique : la variable "
                                "WAYLAND_DISPLAY n'est pas définie et l'affichage Wayland par "
                                "défaut n'existe pas."));
        QCOMPARE(problem("wayland", "wayland-9", false),
                 QStringLiteral("Volcanelle a besoin d'un affichage graphique : l'affichage "
                                "Wayland « wayland-9 » (variable WAYLAND_DISPLAY) n'existe "
                                "pas."));
        // A Wayland session that is gone: Qt would fall back on X11, which is not there
        // either.
        QCOMPARE(problem("", "wayland-9", false),
                 QStringLiteral("Volcanelle a besoin d'un affichage graphique : la variable "
                                "DISPLAY n'est pas définie."));
    }

    // 15 bits is the shallowest screen Qt's widgets draw on; anything less is refused by name.
    void screenDepths()
    {
        const auto onScreen = [](int depth) {
            return displayProblem(
                {QString(), QStringLiteral(":3"), QString()},
                [depth](const QString&) { return std::optional<int>(depth); }, everyPlugin);
        };
        QCOMPARE(onScreen(15), std::nullopt);
        QCOMPARE(onScreen(24), std::nullopt);
        QCOMPARE(onScreen(8),
                 QStringLiteral("Volcanelle a besoin d'un écran d'au moins 15 bits par pixel : "
                                "celui de l'affichage « :3 » n'en a que 8."));
    }
};

QTEST_APPLESS_MAIN(DisplayCheckTest)
#include "test_displaycheck.moc"
