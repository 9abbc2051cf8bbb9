// SPDX-License-Identifier: GPL-3.0-or-later
// The real game window, timed from the call to the frame painted: the costliest click (the
// reveal of 195 cells) and a round setup that puts back all 225 covers and pictures.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   windowbench [runs]     (100 runs by default, after 5 unrecorded ones)

#include "benchview.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using namespace volcanelle;
using Clock = std::chrono::steady_clock;

constexpr int kWarmUp = 5;

// How a frame is finished after the change: either the way the event loop does it (only the
// dirty region is painted, then flushed), or a synchronous repaint of the whole window.
enum class Frame { EventLoop, WholeWindow };

void finishFrame(QWidget& window, Frame frame)
{
    if (frame == Frame::EventLoop)
        QCoreApplication::processEvents();
    else
        window.repaint();
}

double percentile(const std::vector<double>& sorted, double p)
{
    const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[at];
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `prepare` untimed and `measure` timed, `runs` times after the warm-up, and prints one
// Markdown row of milliseconds: the spread of wall-clock times, then the median processor
// time of this thread, which other programs running at the same time do not inflate.
void timeRuns(const char* name, int runs, const std::function<void()>& prepare,
              const std::function<void()>& measure)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < kWarmUp + runs; ++run) {
        prepare();
        const double cpuStart = threadCpuMs();
        const auto start = Clock::now();
        measure();
        const auto stop = Clock::now();
        const double cpuStop = threadCpuMs();
        if (run >= kWarmUp) {
            wall.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            cpu.push_back(cpuStop - cpuStart);
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("| %s | %d | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n", name, runs,
                percentile(wall, 0.5), wall.front(), percentile(wall, 0.1), percentile(wall, 0.9),
                wall.back(), percentile(cpu, 0.5));
    std::fflush(stdout);
}

void showAndSettle(QWidget& window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "windowbench: the window was never exposed\n");
    QCoreApplication::processEvents();
}

void benchWorstClick(int runs)
{
    testing::FixedDraws draws(testing::twoBottomRows());
    demin window(&draws);
    testing::ModalAnswerer answerer;
    answerer.type(QStringLiteral("30"));
    if (!window.Form_Load()) {
        std::fprintf(stderr, "windowbench: the mine count was not accepted\n");
        return;
    }
    showAndSettle(window);

    const auto recover = [&window] {
        for (int index = 0; index < kCells; ++index)
            window.duel().board().cover(index);
        QCoreApplication::processEvents();
    };
    for (const Frame frame : {Frame::EventLoop, Frame::WholeWindow}) {
        timeRuns(frame == Frame::EventLoop ? "Click opening 195 cells + frame"
                                           : "Click opening 195 cells + whole-window repaint",
                 runs, recover, [&window, frame] {
                     window.cmdCase_Click(0);
                     finishFrame(window, frame);
                 });
    }
    if (window.duel().board().coveredCount() != 30)
        std::fprintf(stderr, "windowbench: the click did not open 195 cells\n");
}

void benchRoundSetup(int runs, int mines)
{
    // The window's own duel would ask for the count in a modal box; a second duel drives the
    // same window through its DuelView face and answers the count itself.
    demin window;
    BenchView relay(QString::number(mines), &window);
    SystemRandom random;
    Duel duel(relay, random);
    duel.nouvelleManche();
    showAndSettle(window);

    // The worst start: every cover lifted, as after a fully played round.
    const auto uncoverAll = [&duel] {
        for (int index = 0; index < kCells; ++index)
            duel.board().uncover(index);
        QCoreApplication::processEvents();
    };
    for (const Frame frame : {Frame::EventLoop, Frame::WholeWindow}) {
        const QByteArray name =
            QStringLiteral("Round setup, %1 mines + %2")
                .arg(mines)
                .arg(frame == Frame::EventLoop ? QStringLiteral("frame")
                                               : QStringLiteral("whole-window repaint"))
                .toUtf8();
        timeRuns(name.constData(), runs, uncoverAll, [&window, &duel, frame] {
            duel.nouvelleManche();
            finishFrame(window, frame);
        });
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;

    std::printf("Platform: %s; times in ms\n\n", qPrintable(QGuiApplication::platformName()));
    std::printf("| Measure | Runs | Median | Min | p10 | p90 | Max | Median CPU |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    benchWorstClick(runs);
    benchRoundSetup(runs, 30);
    benchRoundSetup(runs, 100);
    return 0;
}
