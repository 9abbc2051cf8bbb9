// SPDX-License-Identifier: GPL-3.0-or-later
// A network duel over loopback, host and joiner in this one process: the time from a real
// click on one side's window to the move painted on the other side's window, for every move
// of a round of single-cell moves (no blank area opens), alternating sides as the turn goes.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   netbench [moves]     (200 by default, at most 225)

#include "fixeddraws.h"
#include "modalanswerer.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace volcanelle;

// 100 mines: rows 1, 4, 7, 10 and 13, all of row 0 and the first ten cells of row 14. Every
// other cell touches a mine, so each click uncovers that cell alone.
std::vector<int> mineRows()
{
    return testing::minesOf({
        "***************",
        "***************",
        "...............",
        "...............",
        "***************",
        "...............",
        "...............",
        "***************",
        "...............",
        "...............",
        "***************",
        "...............",
        "...............",
        "***************",
        "**********.....",
    });
}

// Notes the moment a widget is painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double percentile(const std::vector<double>& sorted, double p)
{
    const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[at];
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication();
    const int moves = std::clamp(argc > 1 ? std::atoi(argv[1]) : 200, 1, kCells);

    testing::FixedDraws draws(mineRows());
    demin host(&draws);
    net::HostGate gate(QStringLiteral("123456"));
    if (!gate.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "netbench: cannot listen on 127.0.0.1\n");
        return 1;
    }
    HostSeat hostSeat(host, gate);
    host.show();
    testing::ModalAnswerer answerer;
    answerer.type(QStringLiteral("100"));

    net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), gate.port(), 123456);
    net::Link* link = nullptr;
    QObject::connect(&attempt, &net::JoinAttempt::joined, [&link](net::Link* l) { link = l; });
    attempt.start();
    QElapsedTimer waited;
    waited.start();
    while (!link && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!link) {
        std::fprintf(stderr, "netbench: the joiner could not join\n");
        return 1;
    }
    demin joiner;
    JoinSeat joinSeat(joiner, link);
    joiner.show();
    if (!QTest::qWaitForWindowExposed(&host) || !QTest::qWaitForWindowExposed(&joiner))
        std::fprintf(stderr, "netbench: a window was never exposed\n");
    while (host.duel().bombesRestantes() != 100 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qWait(200);

    // Numbered cells first, then the mines: the round ends only at the 225th move.
    std::vector<int> order;
    for (const bool mines : {false, true})
        for (int index = 0; index < kCells; ++index)
            if (host.duel().board().isMine(index) == mines)
                order.push_back(index);

    std::vector<double> ms;
    std::array<int, 2> bySide{};
    for (int move = 0; move < moves; ++move) {
        const int index = order[static_cast<std::size_t>(move)];
        const bool hostPlays = host.duel().joueur() == 1;
        demin& clicker = hostPlays ? host : joiner;
        demin& other = hostPlays ? joiner : host;
        auto* cover = clicker.findChild<QAbstractButton*>(QStringLiteral("cmdCase(%1)").arg(index));
        auto* picture = other.findChild<QLabel*>(QStringLiteral("imgCase(%1)").arg(index));
        auto* otherCover =
            other.findChild<QAbstractButton*>(QStringLiteral("cmdCase(%1)").arg(index));
        PaintWatch watch;
        picture->installEventFilter(&watch);
        const QPoint where = clicker.centralWidget()->mapTo(
            &clicker, cover->mapTo(clicker.centralWidget(), cover->rect().center()));

        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(clicker.windowHandle(), Qt::LeftButton, {}, where);
        while (!(watch.painted && otherCover->isHidden()) && clock.elapsed() < 2000)
            QCoreApplication::processEvents();
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        picture->removeEventFilter(&watch);
        if (!watch.painted) {
            std::fprintf(stderr, "netbench: move %d (cell %d) never painted on the other side\n",
                         move, index);
            return 1;
        }
        ms.push_back(elapsed);
        ++bySide[hostPlays ? 0 : 1];
    }
    std::sort(ms.begin(), ms.end());
    std::printf("Click on one side to the move painted on the other, over loopback: %zu moves "
                "(%d by the host, %d by the joiner)\n",
                ms.size(), bySide[0], bySide[1]);
    std::printf("median %.2f ms, p99 %.2f ms, best %.2f ms, worst %.2f ms\n", percentile(ms, 0.5),
                percentile(ms, 0.99), ms.front(), ms.back());
    return 0;
}
