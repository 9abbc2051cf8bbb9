// SPDX-License-Identifier: GPL-3.0-or-later
#include "seats/computerplayer.h"
#include "startup/commandline.h"
#include "startup/displaycheck.h"
#include "startup/levelchoice.h"
#include "startup/networklaunch.h"
#include "startup/outsidewatch.h"
#include "startup/platformguard.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QApplication>
#include <QSettings>
#include <optional>

int main(int argc, char* argv[])
{
    // Before the application object: help, version and refusals need no display.
    const volcanelle::CommandLine line = volcanelle::readCommandLine(argc, argv);
    if (line.exitCode)
        return *line.exitCode;
    const volcanelle::Options& options = line.options;
    // The network duel is a program of its own: a plain start then loads no network library.
    if (options.host || options.join || options.online)
        return volcanelle::startNetworkPlay(argv);
    // Qt aborts with a message of its own when no platform starts: say what is missing.
    if (const std::optional<int> status = volcanelle::checkDisplay())
        return *status;

    volcanelle::beginPlatformStart();
    QApplication app(argc, argv);
    volcanelle::endPlatformStart();
    volcanelle::prepareApplication();
    volcanelle::watchOutsideClients(app);

    // Against the computer, its level; the two-player game reads no settings.
    volcanelle::Level level = volcanelle::kFirstLevel;
    if (options.computer) {
        const std::unique_ptr<QSettings> settings = volcanelle::openGameSettings();
        volcanelle::LevelMemory memory(*settings);
        const std::optional<volcanelle::Level> chosen = volcanelle::computerLevel(
            options.level, options.askLevel, memory,
            [](volcanelle::Level offered) { return volcanelle::askLevel(nullptr, offered); });
        if (!chosen)
            return 0;
        level = *chosen;
    }

    // Only the mine-count box is built before the players answer it; the window follows.
    using volcanelle::Seat;
    const volcanelle::Seats seats(Seat::Desk, options.computer ? Seat::Computer : Seat::Desk);
    volcanelle::demin window(nullptr, nullptr, volcanelle::demin::Contents::WhenShown, seats);
    // The computer takes its seat before the first question; it goes before the window does.
    std::optional<volcanelle::ComputerPlayer> computer;
    if (options.computer)
        computer.emplace(window.control(), 2, level);
    if (!window.Form_Load())
        return 0;
    QObject::connect(&window, &volcanelle::demin::quitRequested, &app, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    window.show();
    return app.exec();
}
