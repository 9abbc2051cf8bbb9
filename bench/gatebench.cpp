// SPDX-License-Identifier: GPL-3.0-or-later
// The host's door under attack: a stranger at 127.0.0.2 keeps 8 connections open (each
// reopened as soon as it is cut) and guesses codes without pause, while the invited player
// at 127.0.0.1 joins with the right code. Prints the joiner's time from connecting to being
// welcomed, median and worst over the trials.

#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/netplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace volcanelle;

namespace {

constexpr int kTrials = 20;
constexpr int kHeld = 8;
const QHostAddress kStranger(QStringLiteral("127.0.0.2"));

/// The stranger: 8 silent connections kept open, and one more that guesses a code each time
/// it is let in.
class Stranger {
public:
    explicit Stranger(quint16 port) : port_(port)
    {
        for (int i = 0; i < kHeld; ++i)
            open(false);
        open(true);
    }
    int guessesSent = 0;

private:
    void open(bool guessing)
    {
        auto* socket = new QTcpSocket(&owner_);
        socket->bind(kStranger);
        QObject::connect(socket, &QTcpSocket::connected, socket, [this, socket, guessing] {
            if (guessing) {
                socket->write(
                    wire::encode(wire::Hello{wire::kVersion, quint32(1 + guessesSent % 999999)}));
                ++guessesSent;
            }
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket, guessing] {
            socket->deleteLater();
            open(guessing);
        });
        QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                         [this, socket, guessing](QAbstractSocket::SocketError error) {
                             if (error == QAbstractSocket::RemoteHostClosedError)
                                 return; // disconnected follows
                             socket->deleteLater();
                             QTimer::singleShot(10, &owner_, [this, guessing] { open(guessing); });
                         });
        socket->connectToHost(QHostAddress::LocalHost, port_);
    }

    quint16 port_;
    QObject owner_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<double> times;
    int guesses = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        net::HostGate gate(QStringLiteral("424242"));
        if (!gate.listen(QHostAddress::LocalHost, 0))
            return 1;
        Stranger stranger(gate.port());
        // The stranger has the door to itself for a while first.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();

        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), gate.port(), 424242);
        QEventLoop wait;
        QElapsedTimer clock;
        bool in = false;
        QObject::connect(&attempt, &net::JoinAttempt::joined, &wait, [&](net::Link* link) {
            in = true;
            delete link;
            wait.quit();
        });
        QObject::connect(
            &attempt, &net::JoinAttempt::failed, &wait,
            [&](net::JoinAttempt::Failure reason, int theirVersion) {
                std::fprintf(stderr, "trial %d: %s\n", trial,
                             qPrintable(joinFailureText(reason, theirVersion, attempt.address())));
                wait.quit();
            });
        // Kept until the trial ends: deleted at once, it would never send its welcome.
        std::unique_ptr<net::Link> hostSide;
        QObject::connect(&gate, &net::HostGate::joined, &gate,
                         [&hostSide](net::Link* link) { hostSide.reset(link); });
        clock.start();
        attempt.start();
        wait.exec();
        if (!in)
            return 1;
        times.push_back(clock.nsecsElapsed() / 1e6);
        guesses += stranger.guessesSent;
    }
    std::sort(times.begin(), times.end());
    std::printf("joiner let in %d times of %d; the stranger sent %d wrong codes meanwhile\n",
                int(times.size()), kTrials, guesses);
    std::printf("time to be welcomed: median %.2f ms, worst %.2f ms\n", times[times.size() / 2],
                times.back());
    return 0;
}
