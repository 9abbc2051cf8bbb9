// SPDX-License-Identifier: GPL-3.0-or-later
// Load on the duel server: N duels, 2N WebSocket clients over loopback, each duel moving R
// times a second by whoever has the turn, measured for S seconds once all are playing. The
// server runs in a child process pinned to the first core; the clients, in worker processes
// on the second core, are plain sockets on epoll (loadclient.h) and ping every 2 s as the
// game does. The time of a move runs from its click sent to both sides holding the cell.
// Prints one line:
//   duels N moves_per_s M p50_ms A p99_ms B max_ms C server_rss_mib D server_cpu_pct E
// and on standard error what went wrong, the server's memory before and after the duels,
// and the clients' own CPU. The server is the real one, with the limits per address raised
// (every client comes from 127.0.0.1) and its log of room events silenced.
// Options: --opening K duels set up at once (32); --loop qt runs the server on Qt's own event
// loop instead of its epoll one; --port P [--pid PID] drives a server already running (under
// a profiler, say), PID naming its process for the memory and CPU figures.
#include "loadclient.h"
#include "server/duelserver.h"
#include "server/epolldispatcher.h"
#include "server/serverduel.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sched.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace volcanelle;

namespace {

// As few workers as the open-files limit allows (20,000 here, two sockets a duel): the
// workers share the clients' one core and wake together at every tick, so that two of them
// waited for each other a fifth of the time and added up to 10 ms to the p99 at 9,990 duels.
constexpr int kDuelsPerWorker = 9'990;

void pin(int core)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(core, &set);
    sched_setaffinity(0, sizeof set, &set);
}

bool writeAll(int fd, const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, std::size_t size)
{
    char* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = read(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void runServer(int portPipe, bool qtLoop)
{
    pin(0);
    // Its own name, for profilers.
    prctl(PR_SET_NAME, "loadserver");
    int argc = 1;
    char name[] = "serverload-server";
    char* argv[] = {name, nullptr};
    // Thousands of connections: a loop whose turn costs what is ready, not every socket.
    if (!qtLoop)
        QCoreApplication::setEventDispatcher(new server::EpollDispatcher);
    QCoreApplication app(argc, argv);
    server::ServerLimits limits;
    limits.connectionsPerAddress = 1 << 30;
    limits.roomsPerAddressPerMinute = 1 << 30;
    // One log line per room event would drown the figures.
    [[maybe_unused]] FILE* quiet = std::freopen("/dev/null", "w", stderr);
    server::DuelServer duels(limits, [](server::RoomDuel::Outbox outbox) {
        return std::make_unique<server::ServerDuel>(std::move(outbox));
    });
    duels.listen(QHostAddress::LocalHost, 0);
    const quint16 port = duels.port();
    writeAll(portPipe, &port, sizeof port);
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

// Time the process spent ready to run but waiting for its core: other work on the machine.
double waitedSeconds(pid_t pid)
{
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    double running = 0, waiting = 0;
    schedstat >> running >> waiting;
    return waiting / 1e9;
}

void sleepUntil(std::int64_t us)
{
    const std::int64_t left = us - bench::nowUs();
    if (left > 0)
        usleep(static_cast<useconds_t>(left));
}

struct Window {
    std::int64_t start, from, to;
};

struct Worker {
    pid_t pid = -1;
    int go = -1;      // parent to worker: the window
    int results = -1; // worker to parent: duels begun, then the tally
};

// A worker: sets its duels up, says how many began, plays the window it is given, and
// sends back its tally.
[[noreturn]] void runWorker(bench::LoadPlan plan, int go, int results)
{
    pin(1);
    bench::LoadClient client(plan);
    client.open(bench::nowUs() + 180'000'000);
    const int began = client.tally().began;
    Window window{};
    if (!writeAll(results, &began, sizeof began) || !readAll(go, &window, sizeof window))
        _exit(1);
    client.play(window.start, window.from, window.to);
    const bench::LoadTally& tally = client.tally();
    std::string faults;
    for (const auto& [why, count] : tally.faults)
        faults += std::to_string(count) + " " + why + "\n";
    const std::uint64_t head[5] = {tally.moves, tally.unanswered,
                                   static_cast<std::uint64_t>(tally.began),
                                   tally.latenciesUs.size(), faults.size()};
    writeAll(results, head, sizeof head);
    writeAll(results, tally.latenciesUs.data(), tally.latenciesUs.size() * sizeof(std::uint32_t));
    writeAll(results, faults.data(), faults.size());
    _exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    int duelsWanted = 100;
    double rate = 1;
    int seconds = 10;
    int opening = 32;
    bool qtLoop = false;  // the server on Qt's own event loop, to compare
    int externalPort = 0; // a server already running, and its process for the figures
    pid_t externalPid = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--duels")
            duelsWanted = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--rate")
            rate = std::max(0.01, std::atof(argv[i + 1]));
        else if (option == "--seconds")
            seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--opening")
            opening = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--loop")
            qtLoop = std::string(argv[i + 1]) == "qt";
        else if (option == "--port")
            externalPort = std::atoi(argv[i + 1]);
        else if (option == "--pid")
            externalPid = std::atoi(argv[i + 1]);
    }
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);

    pid_t serverPid = externalPid;
    auto port = static_cast<std::uint16_t>(externalPort);
    if (externalPort == 0) {
        int ports[2];
        if (pipe(ports) != 0)
            return 1;
        serverPid = fork();
        if (serverPid == 0) {
            close(ports[0]);
            runServer(ports[1], qtLoop);
        }
        close(ports[1]);
        if (!readAll(ports[0], &port, sizeof port))
            return 1;
        close(ports[0]);
    }
    const double baseRss = rssMib(serverPid);

    const int workerCount = (duelsWanted + kDuelsPerWorker - 1) / kDuelsPerWorker;
    std::vector<Worker> workers(static_cast<std::size_t>(workerCount));
    for (int w = 0; w < workerCount; ++w) {
        bench::LoadPlan plan;
        plan.port = port;
        plan.rate = rate;
        plan.duels = duelsWanted / workerCount + (w < duelsWanted % workerCount ? 1 : 0);
        plan.opening = std::max(1, opening / workerCount);
        int go[2], results[2];
        if (pipe(go) != 0 || pipe(results) != 0)
            return 1;
        Worker& worker = workers[static_cast<std::size_t>(w)];
        worker.pid = fork();
        if (worker.pid == 0) {
            close(go[1]);
            close(results[0]);
            runWorker(plan, go[0], results[1]);
        }
        close(go[0]);
        close(results[1]);
        worker.go = go[1];
        worker.results = results[0];
    }
    pin(1);
    int began = 0;
    for (Worker& worker : workers) {
        int n = 0;
        if (readAll(worker.results, &n, sizeof n))
            began += n;
    }
    if (began < duelsWanted)
        std::fprintf(stderr, "serverload: %d duels of %d began\n", began, duelsWanted);
    const double setupRss = rssMib(serverPid);

    // One interval (a second at least) of warm-up, then the measure.
    const std::int64_t intervalUs = std::llround(1e6 / rate);
    Window window{};
    window.start = bench::nowUs() + 100'000;
    window.from = window.start + std::max<std::int64_t>(intervalUs, 1'000'000);
    window.to = window.from + seconds * 1'000'000LL;
    for (Worker& worker : workers)
        writeAll(worker.go, &window, sizeof window);
    sleepUntil(window.from);
    const double serverCpu0 = cpuSeconds(serverPid);
    const double serverWait0 = waitedSeconds(serverPid);
    double clientCpu0 = 0, clientWait0 = 0;
    for (const Worker& worker : workers) {
        clientCpu0 += cpuSeconds(worker.pid);
        clientWait0 += waitedSeconds(worker.pid);
    }
    sleepUntil(window.to);
    const double elapsed = (bench::nowUs() - window.from) / 1e6;
    const double serverCpu = (cpuSeconds(serverPid) - serverCpu0) / elapsed * 100.0;
    const double serverWait = (waitedSeconds(serverPid) - serverWait0) / elapsed * 100.0;
    double clientCpu = -clientCpu0, clientWait = -clientWait0;
    for (const Worker& worker : workers) {
        clientCpu += cpuSeconds(worker.pid);
        clientWait += waitedSeconds(worker.pid);
    }
    clientWait = clientWait / elapsed * 100.0;
    clientCpu = clientCpu / elapsed * 100.0;
    const double rss = rssMib(serverPid);

    std::vector<std::uint32_t> latencies;
    std::uint64_t moves = 0, unanswered = 0, playing = 0;
    std::string faults;
    for (Worker& worker : workers) {
        std::uint64_t head[5] = {};
        if (!readAll(worker.results, head, sizeof head))
            continue;
        moves += head[0];
        unanswered += head[1];
        playing += head[2];
        const std::size_t at = latencies.size();
        latencies.resize(at + head[3]);
        std::string text(head[4], '\0');
        readAll(worker.results, latencies.data() + at, head[3] * sizeof(std::uint32_t));
        readAll(worker.results, text.data(), text.size());
        faults += text;
        waitpid(worker.pid, nullptr, 0);
    }
    if (externalPort == 0) {
        kill(serverPid, SIGKILL);
        waitpid(serverPid, nullptr, 0);
    }

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
                began, latencies.size() / elapsed, at(0.5), at(0.99),
                latencies.empty() ? 0.0 : latencies.back() / 1000.0, rss, serverCpu);
    std::fflush(stdout);
    std::fprintf(stderr,
                 "serverload: moves sent %llu, shown %zu, shown to nobody in 2 s %llu; duels "
                 "playing at the end %llu\n"
                 "serverload: server RSS %.1f MiB alone, %.1f with the duels set up, %.1f at "
                 "the end (%.1f KiB a duel); clients' CPU %.0f %% (%d processes)\n"
                 "serverload: waiting for a core: server %.1f %% of the time, clients %.1f %%\n",
                 static_cast<unsigned long long>(moves), latencies.size(),
                 static_cast<unsigned long long>(unanswered),
                 static_cast<unsigned long long>(playing), baseRss, setupRss, rss,
                 began ? (rss - baseRss) * 1024.0 / began : 0.0, clientCpu, workerCount, serverWait,
                 clientWait);
    if (!faults.empty())
        std::fprintf(stderr, "serverload: faults (count, what):\n%s", faults.c_str());
    return 0;
}
