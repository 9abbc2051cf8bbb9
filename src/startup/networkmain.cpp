// SPDX-License-Identifier: GPL-3.0-or-later
// The network duel, started by `volcanelle` for --host, --join, --join-ask and --online with
// the same arguments. Kept apart so that only these starts load the network libraries.
#include "netplay/netplay.h"
#include "netplay/networktexts.h"
#include "netplay/online.h"
#include "startup/commandline.h"
#include "startup/displaycheck.h"
#include "startup/outsidewatch.h"
#include "startup/platformguard.h"
#include "ui/application.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    const volcanelle::CommandLine line = volcanelle::readCommandLine(argc, argv);
    if (line.exitCode)
        return *line.exitCode;
    const volcanelle::Options& options = line.options;
    if (!options.host && !options.join && !options.online) {
        std::fprintf(stderr, "%s\n",
                     volcanelle::texts::networkOptionsOnly().toLocal8Bit().constData());
        return 2;
    }
    if (const std::optional<int> status = volcanelle::checkDisplay())
        return *status;

    volcanelle::beginPlatformStart();
    QApplication app(argc, argv);
    volcanelle::endPlatformStart();
    volcanelle::prepareApplication();
    volcanelle::watchOutsideClients(app);
    if (options.host)
        return volcanelle::hostDuel(options.port);
    if (options.online)
        return volcanelle::playOnline(options.server, options.room, options.askRoom);
    return volcanelle::joinDuel(options.endpoint, options.code);
}
