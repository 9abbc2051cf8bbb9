// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and reports how long it took to map its first top-level window on the X
// display in $DISPLAY, then its resident memory one second later; the program is then ended.
//
//   mapwatch [--title TITLE] [--timeout SECONDS] [--smaps FILE] -- PROGRAM [ARGUMENTS...]
//
// Prints one line: "<milliseconds> <VmRSS in KiB> <processor milliseconds> <window title>",
// the processor time being the program's own up to the map. With --title, only a
// window whose title begins with TITLE counts. The watch is set on the root window before the
// program starts, so no map can be missed, and the time comes from the X event itself, not from
// polling. With --smaps, the program's /proc/PID/smaps at the moment its memory is read is
// copied to FILE, for a breakdown of where that memory lies.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t* x, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string textProperty(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::string titleOf(xcb_connection_t* x, xcb_window_t window)
{
    static const xcb_atom_t netName = atom(x, "_NET_WM_NAME");
    std::string title = textProperty(x, window, netName);
    return title.empty() ? textProperty(x, window, XCB_ATOM_WM_NAME) : title;
}

// Processor time used so far by all threads of `pid`, in milliseconds: what the start-up
// cost the machine, whatever else was running at the same time.
double cpuMs(pid_t pid)
{
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    double total = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long ns = 0;
        if (schedstat >> ns)
            total += static_cast<double>(ns) / 1e6;
    }
    return total;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void copySmaps(pid_t pid, const std::string& file)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps");
    std::ofstream out(file);
    out << in.rdbuf();
}

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fprintf(stderr,
                 "usage: mapwatch [--title TITLE] [--timeout SECONDS] [--smaps FILE] -- PROGRAM "
                 "[ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    std::string wanted;
    std::string smapsFile;
    int timeoutSeconds = 30;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--title" && first + 1 < argc)
            wanted = argv[++first];
        else if (arg == "--timeout" && first + 1 < argc)
            timeoutSeconds = std::atoi(argv[++first]);
        else if (arg == "--smaps" && first + 1 < argc)
            smapsFile = argv[++first];
        else
            return usage();
    }
    if (first >= argc)
        return usage();

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked request: the watch is in force once the server has answered.
    const Reply<xcb_generic_error_t> error(xcb_request_check(
        x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask)));
    if (error) {
        std::fprintf(stderr, "mapwatch: cannot watch the root window\n");
        return 1;
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        // Only this program's report goes to standard output.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        std::perror("mapwatch: exec");
        _exit(127);
    }

    const Clock::time_point deadline = start + std::chrono::seconds(timeoutSeconds);
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    std::string title;
    Clock::time_point mapped;
    double cpu = 0;
    bool found = false;
    while (!found && Clock::now() < deadline) {
        while (!found) {
            const Reply<xcb_generic_event_t> event(xcb_poll_for_event(x));
            if (!event)
                break;
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            mapped = Clock::now();
            cpu = cpuMs(pid);
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect)
                continue;
            title = titleOf(x, map->window);
            found = wanted.empty() || title.rfind(wanted, 0) == 0;
        }
        if (found || xcb_connection_has_error(x))
            break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "mapwatch: %s ended before mapping a window\n", argv[first]);
            return 1;
        }
        poll(&fd, 1, 100);
    }
    if (!found) {
        std::fprintf(stderr, "mapwatch: no window mapped in time\n");
        endProgram(pid);
        return 1;
    }

    std::this_thread::sleep_until(mapped + std::chrono::seconds(1));
    const long rss = residentKiB(pid);
    if (!smapsFile.empty())
        copySmaps(pid, smapsFile);
    endProgram(pid);
    xcb_disconnect(x);
    std::printf("%.1f %ld %.1f %s\n",
                std::chrono::duration<double, std::milli>(mapped - start).count(), rss, cpu,
                title.c_str());
    return 0;
}
