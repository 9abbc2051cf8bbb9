// SPDX-License-Identifier: GPL-3.0-or-later
// A whole round of a network duel, host and joiner in this one process, every byte through a
// loopback relay that is cut for a while in the middle of the round (10 s by default), with
// the shipped timings: when each side noticed, when the joiner was back, and whether both
// windows show the same duel after every move. Runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
//
//   cutbench [cut seconds]

#include "fixeddraws.h"
#include "modalanswerer.h"
#include "net/comeback.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "relay.h"
#include "sight.h"
#include "ui/application.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace volcanelle;

const QString kInterrupted = QStringLiteral("Connexion interrompue, nouvelle tentative…");

bool waitFor(const std::function<bool()>& done, int ms)
{
    return QTest::qWaitFor(done, ms);
}

double seconds(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.elapsed()) / 1000.0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication();
    const int cutMs = std::clamp(argc > 1 ? std::atoi(argv[1]) : 10, 1, 29) * 1000;

    testing::FixedDraws draws(testing::twoMineRows());
    demin host(&draws);
    net::HostGate gate(QStringLiteral("123456"));
    if (!gate.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "cutbench: cannot listen on 127.0.0.1\n");
        return 1;
    }
    testing::Relay relay(gate.port());
    if (!relay.listen()) {
        std::fprintf(stderr, "cutbench: the relay cannot listen on 127.0.0.1\n");
        return 1;
    }
    HostSeat hostSeat(host, gate);
    QSignalSpy hostDone(&hostSeat, &HostSeat::finished);
    host.show();
    testing::ModalAnswerer answerer;
    answerer.type(QStringLiteral("30"));

    net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), relay.port(), 123456);
    QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
    attempt.start();
    if (!joined.wait(5000)) {
        std::fprintf(stderr, "cutbench: the joiner could not join\n");
        return 1;
    }
    demin joiner;
    JoinSeat joinSeat(joiner, joined.first().first().value<net::Link*>());
    QSignalSpy joinerDone(&joinSeat, &JoinSeat::finished);
    joinSeat.setComeback(
        new net::Comeback(QStringLiteral("127.0.0.1"), relay.port(), attempt.token()));
    joiner.show();
    const auto same = [&] { return testing::visible(joiner) == testing::visible(host); };
    if (!waitFor([&] { return host.duel().bombesRestantes() == 30 && same(); }, 10000)) {
        std::fprintf(stderr, "cutbench: the round never started on both sides\n");
        return 1;
    }

    // The host opens the blank top, the joiner finds half the mines and misses, then the cut,
    // then the host finds the other half and ends the round.
    std::vector<std::pair<demin*, int>> moves{{&host, 0}};
    for (int mine = 180; mine < 195; ++mine)
        moves.emplace_back(&joiner, mine);
    moves.emplace_back(&joiner, testing::kNumberedBelowMines);
    const std::size_t cutAfter = moves.size();
    for (int mine = 195; mine < 210; ++mine)
        moves.emplace_back(&host, mine);

    int equalAfterMove = 0;
    for (std::size_t move = 0; move < moves.size(); ++move) {
        if (move == cutAfter) {
            QElapsedTimer clock;
            clock.start();
            relay.cut();
            std::printf("cut at move %zu of %zu for %d s\n", move, moves.size(), cutMs / 1000);
            double hostNoticed = -1;
            double joinerNoticed = -1;
            while (clock.elapsed() < cutMs) {
                QTest::qWait(50);
                if (hostNoticed < 0 &&
                    testing::caption(host, QStringLiteral("Panel3")) == kInterrupted)
                    hostNoticed = seconds(clock);
                if (joinerNoticed < 0 &&
                    testing::caption(joiner, QStringLiteral("Panel3")) == kInterrupted)
                    joinerNoticed = seconds(clock);
            }
            relay.restore();
            std::printf("status « %s » on the host after %.1f s, on the joiner after %.1f s\n",
                        qPrintable(kInterrupted), hostNoticed, joinerNoticed);
            const bool back = waitFor(
                [&] {
                    return testing::caption(joiner, QStringLiteral("Panel3")) != kInterrupted &&
                           testing::caption(host, QStringLiteral("Panel3")) != kInterrupted &&
                           same();
                },
                30000);
            std::printf("network back at %.1f s; both sides back and equal at %.1f s: %s\n",
                        static_cast<double>(cutMs) / 1000.0, seconds(clock), back ? "yes" : "NO");
            if (!hostDone.isEmpty() || !joinerDone.isEmpty() || !back) {
                std::fprintf(stderr, "cutbench: the duel did not survive the cut\n");
                return 1;
            }
        }
        const auto [window, index] = moves[move];
        testing::clickCell(*window, index);
        if (waitFor([&] { return testing::cover(host, index)->isHidden() && same(); }, 5000))
            ++equalAfterMove;
    }
    waitFor(
        [&] {
            return host.duel().partiesGagnees(1) + host.duel().partiesGagnees(2) == 0 &&
                   !host.duel().roundInPlay() && same();
        },
        5000);
    std::printf("moves %zu, both windows equal after %d of them; round over on the host: %s\n",
                moves.size(), equalAfterMove, host.duel().roundInPlay() ? "no" : "yes");
    std::printf("joiner's board %s the host's\n", same() ? "equals" : "DIFFERS FROM");
    std::printf("boxes answered:\n");
    for (const QString& box : answerer.seen)
        std::printf("  %s\n", qPrintable(box));
    return same() && equalAfterMove == static_cast<int>(moves.size()) ? 0 : 1;
}
