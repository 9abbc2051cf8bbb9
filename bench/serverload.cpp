// SPDX-License-Identifier: GPL-3.0-or-later
// Load on the duel server: N duels, 2N WebSocket clients over loopback, each side moving R
// times a second on its turn, measured for S seconds once all are playing. The server runs
// in a child process pinned to the first core, the clients here on the second; the time of a
// move runs from its click sent to both sides holding the cell. Prints one line:
//   duels N moves_per_s M p50_ms A p99_ms B max_ms C server_rss_mib D server_cpu_pct E
// The rooms hold the real duel: each side clicks a cell it sees covered on its turn, the
// opener chooses 30 mines, and a round found to its end is followed by a new one.
#include "server/duelserver.h"
#include "server/serverduel.h"
#include "wire/codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <bitset>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sched.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace volcanelle;

namespace {

void raiseOpenFiles()
{
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}

void pin(int core)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(core, &set);
    sched_setaffinity(0, sizeof set, &set);
}

[[noreturn]] void runServer(int portPipe)
{
    pin(0);
    int argc = 1;
    char name[] = "serverload-server";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    server::ServerLimits limits;
    limits.connectionsPerAddress = 1 << 30;
    limits.roomsPerAddressPerMinute = 1 << 30;
    limits.silenceMs = 3'600'000; // the clients here never ping
    // One log line per room would drown the figures.
    [[maybe_unused]] FILE* quiet = std::freopen("/dev/null", "w", stderr);
    server::DuelServer duels(limits, [](server::RoomDuel::Outbox outbox) {
        return std::make_unique<server::ServerDuel>(std::move(outbox));
    });
    duels.listen(QHostAddress::LocalHost, 0);
    const quint16 port = duels.port();
    [[maybe_unused]] ssize_t n = write(portPipe, &port, sizeof port);
    close(portPipe);
    app.exec();
    _exit(0);
}

double rssMib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

double cpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Room {
    QWebSocket* side[2] = {nullptr, nullptr};
    int turn = 0;          // 0 or 1: who clicks next, as the turn caption says
    std::bitset<225> open; // the cells the sides see uncovered
    int pendingSeen = 0;   // sides that received the move in flight
    qint64 sentAt = -1;    // the move in flight, or -1
    qint64 nextAt = 0;
    quint8 cell = 0;
    // The joiner asks for the room once it is connected and the opener knows the code.
    std::uint64_t room = 0;
    bool roomKnown = false;
    bool joinerOpen = false;
    bool begun = false;
};

} // namespace

int main(int argc, char* argv[])
{
    int duelsWanted = 100;
    double rate = 1;
    int seconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--duels")
            duelsWanted = std::atoi(argv[i + 1]);
        else if (option == "--rate")
            rate = std::atof(argv[i + 1]);
        else if (option == "--seconds")
            seconds = std::atoi(argv[i + 1]);
    }
    raiseOpenFiles();
    int ports[2];
    if (pipe(ports) != 0)
        return 1;
    const pid_t serverPid = fork();
    if (serverPid == 0) {
        close(ports[0]);
        runServer(ports[1]);
    }
    close(ports[1]);
    quint16 port = 0;
    if (read(ports[0], &port, sizeof port) != sizeof port)
        return 1;
    pin(1);
    QCoreApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    const QUrl url(QStringLiteral("ws://127.0.0.1:%1").arg(port));
    std::vector<Room> duels(static_cast<std::size_t>(duelsWanted));
    std::vector<qint64> latencies;
    bool measuring = false;
    int entered = 0;
    const qint64 interval = static_cast<qint64>(1000.0 / rate);

    const auto send = [](QWebSocket* socket, const wire::Message& m) {
        socket->sendBinaryMessage(wire::encode(m).mid(4));
    };
    for (std::size_t d = 0; d < duels.size(); ++d) {
        Room& duel = duels[d];
        for (int s = 0; s < 2; ++s) {
            auto* socket = new QWebSocket;
            duel.side[s] = socket;
            QObject::connect(
                socket, &QWebSocket::binaryMessageReceived, [&, d, s, socket](const QByteArray& b) {
                    auto m = wire::decodeBody(reinterpret_cast<const unsigned char*>(b.constData()),
                                              static_cast<std::size_t>(b.size()));
                    if (!m)
                        return;
                    Room& du = duels[d];
                    if (const auto* e = std::get_if<wire::Entered>(&*m)) {
                        if (s == 0)
                            send(du.side[1],
                                 wire::Enter{
                                     wire::Enter::Action::Join, wire::kVersion, e->room, {}});
                        else
                            ++entered;
                        return;
                    }
                    if (std::holds_alternative<wire::AskCount>(*m)) {
                        send(socket, wire::Count{true, QStringLiteral("30")});
                    } else if (const auto* c = std::get_if<wire::Caption>(&*m); c && s == 0) {
                        if (c->slot == wire::Caption::Slot::Turn) {
                            du.turn = c->value == 2 ? 1 : 0;
                        } else if (c->slot == wire::Caption::Slot::MinesLeft) {
                            du.begun = !c->text.startsWith(QLatin1String("0 "));
                            // The round is found out: the opener asks for the next one.
                            if (!du.begun) {
                                du.open.reset();
                                send(socket, wire::NewRound{});
                            }
                        }
                    } else if (const auto* cell = std::get_if<wire::Cell>(&*m)) {
                        if (s == 0)
                            du.open[cell->index] = !cell->covered;
                        if (!cell->covered && cell->index == du.cell && du.sentAt >= 0 &&
                            ++du.pendingSeen == 2) {
                            if (measuring)
                                latencies.push_back(clock.nsecsElapsed() / 1000 - du.sentAt);
                            du.sentAt = -1;
                        }
                    }
                    (void)socket;
                });
            QObject::connect(socket, &QWebSocket::connected, [&, d, s, socket] {
                Room& du = duels[d];
                if (s == 0) {
                    send(socket, wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}});
                    return;
                }
                du.joinerOpen = true;
                if (du.roomKnown)
                    send(socket,
                         wire::Enter{wire::Enter::Action::Join, wire::kVersion, du.room, {}});
            });
            socket->open(url);
        }
        if (d % 100 == 99)
            QCoreApplication::processEvents();
    }
    while (entered < duelsWanted && clock.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // Connections that failed to open are not retried: the duels that began are measured,
    // and the line names how many they are.
    if (entered < duelsWanted)
        std::fprintf(stderr, "serverload: %d duels of %d began in 60 s\n", entered, duelsWanted);

    // Each duel's moves spread over the interval, so that the load is even.
    const qint64 start = clock.elapsed();
    for (std::size_t d = 0; d < duels.size(); ++d)
        duels[d].nextAt = start + static_cast<qint64>(d) * interval / duelsWanted;
    QTimer tick;
    std::size_t moves = 0;
    std::size_t unanswered = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        for (Room& duel : duels) {
            // A move nobody was shown within 2 s was refused: counted, and the duel goes on.
            if (duel.sentAt >= 0 && clock.nsecsElapsed() / 1000 - duel.sentAt > 2'000'000) {
                duel.sentAt = -1;
                ++unanswered;
            }
            if (!duel.begun || duel.sentAt >= 0 || now < duel.nextAt)
                continue;
            duel.nextAt += interval;
            duel.sentAt = clock.nsecsElapsed() / 1000;
            duel.pendingSeen = 0;
            int next = duel.cell;
            for (int step = 0; step < 225 && duel.open[static_cast<std::size_t>(next)]; ++step)
                next = (next + 1) % 225;
            duel.cell = static_cast<quint8>(next);
            send(duel.side[duel.turn], wire::Click{duel.cell});
            if (measuring)
                ++moves;
        }
    });
    tick.start(1);
    // One interval of warm-up, then the measure.
    const qint64 warm = std::max<qint64>(interval, 1000);
    while (clock.elapsed() - start < warm)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    measuring = true;
    const double cpu0 = cpuSeconds(serverPid);
    const qint64 t0 = clock.elapsed();
    while (clock.elapsed() - t0 < seconds * 1000LL)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double elapsed = (clock.elapsed() - t0) / 1000.0;
    const double cpu = (cpuSeconds(serverPid) - cpu0) / elapsed * 100.0;
    const double rss = rssMib(serverPid);
    measuring = false;

    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        if (latencies.empty())
            return 0.0;
        return latencies[std::min(latencies.size() - 1,
                                  static_cast<std::size_t>(q * latencies.size()))] /
               1000.0;
    };
    std::printf("duels %d moves_per_s %.0f p50_ms %.2f p99_ms %.2f max_ms %.2f "
                "server_rss_mib %.1f server_cpu_pct %.0f\n",
                entered, latencies.size() / elapsed, at(0.5), at(0.99),
                latencies.empty() ? 0.0 : latencies.back() / 1000.0, rss, cpu);
    (void)moves;
    if (unanswered)
        std::fprintf(stderr, "serverload: %zu moves shown to nobody\n", unanswered);
    kill(serverPid, SIGKILL);
    waitpid(serverPid, nullptr, 0);
    std::fflush(stdout);
    _exit(0);
}
