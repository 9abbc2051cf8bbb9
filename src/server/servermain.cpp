// SPDX-License-Identifier: GPL-3.0-or-later
// volcanelle-server: holds online duels for game programs that connect to it.
#include "server/duelserver.h"
#include "server/epolldispatcher.h"
#include "server/serverduel.h"
#include "server/servertexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace volcanelle::server;

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

// Every connection is a file: as many as the system lets this process have.
void raiseOpenFilesLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

bool readCount(const QCommandLineParser& parser, const QString& name, int& out)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value <= 0) {
        std::fprintf(stderr, "%s\n", qPrintable(texts::badNumber(name, parser.value(name))));
        return false;
    }
    out = value;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Thousands of connections: a loop whose turn costs what is ready, not every socket.
    QCoreApplication::setEventDispatcher(new EpollDispatcher);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("volcanelle-server"));

    // Qt's own words in --help and its errors ("Options", "Unknown option") in French too.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtFrench);

    QCommandLineParser parser;
    parser.setApplicationDescription(texts::description());
    // Qt's own help option describes itself in English whatever the translation.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  texts::helpOption());
    parser.addOption(help);
    const QString port = QStringLiteral("port");
    const QString address = QStringLiteral("listen");
    const QString connections = QStringLiteral("connections-per-address");
    const QString rooms = QStringLiteral("rooms-per-minute");
    const QString wrong = QStringLiteral("wrong-codes-per-minute");
    parser.addOption({port, texts::portOption(), QStringLiteral("port")});
    parser.addOption({address, texts::addressOption(), QStringLiteral("adresse")});
    parser.addOption({connections, texts::connectionsOption(), QStringLiteral("nombre")});
    parser.addOption({rooms, texts::roomsOption(), QStringLiteral("nombre")});
    parser.addOption({wrong, texts::wrongCodesOption(), QStringLiteral("nombre")});
    parser.process(app);
    if (parser.isSet(help))
        parser.showHelp(0);

    ServerLimits limits;
    int portNumber = kDefaultPort;
    if (!readCount(parser, connections, limits.connectionsPerAddress) ||
        !readCount(parser, rooms, limits.roomsPerAddressPerMinute) ||
        !readCount(parser, wrong, limits.wrongCodesPerAddressPerMinute))
        return 2;
    if (parser.isSet(port)) {
        bool ok = false;
        portNumber = parser.value(port).toInt(&ok);
        // 0 lets the system choose, which tests and the benchmark use.
        if (!ok || portNumber < 0 || portNumber > 65535) {
            std::fprintf(stderr, "%s\n", qPrintable(texts::badNumber(port, parser.value(port))));
            return 2;
        }
    }
    QHostAddress listenOn(QHostAddress::Any);
    if (parser.isSet(address) && !listenOn.setAddress(parser.value(address))) {
        std::fprintf(stderr, "%s\n", qPrintable(texts::badAddress(parser.value(address))));
        return 2;
    }

    raiseOpenFilesLimit();
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stopPipe) != 0)
        return 1;
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGPIPE, SIG_IGN);

    DuelServer server(limits, [](RoomDuel::Outbox outbox) {
        return std::make_unique<ServerDuel>(std::move(outbox));
    });
    if (!server.listen(listenOn, static_cast<quint16>(portNumber))) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(texts::cannotListen(listenOn.toString(), portNumber, server.errorString())));
        return 1;
    }
    std::fprintf(stderr, "listening on %s port %u\n", qPrintable(listenOn.toString()),
                 server.port());

    QSocketNotifier stopNotifier(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &server, [&] {
        stopNotifier.setEnabled(false);
        std::fprintf(stderr, "stopping\n");
        server.stop(texts::serverStopping());
    });
    QObject::connect(&server, &DuelServer::stopped, &app, &QCoreApplication::quit);
    return app.exec();
}
