// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/netplay.h"

#include "net/comeback.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/asking.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "netplay/networktexts.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace volcanelle {

namespace {

// What the boxes take: a host name of 253 characters in brackets with a port, and a code
// with room for blanks around it.
constexpr int kLongestAddress = 270;
constexpr int kLongestCode = 16;

} // namespace

QString lossText(net::Link::Loss loss)
{
    switch (loss) {
    case net::Link::Loss::Garbled:
        return texts::garbledMessage();
    case net::Link::Loss::Flooded:
        return texts::flooding();
    case net::Link::Loss::Closed:
    case net::Link::Loss::Silent:
        break;
    }
    return texts::connectionLost();
}

QString joinFailureText(net::JoinAttempt::Failure reason, int theirVersion, const QString& address)
{
    using Failure = net::JoinAttempt::Failure;
    switch (reason) {
    case Failure::Unreachable:
        break;
    case Failure::WrongCode:
        return texts::wrongCode();
    case Failure::HostBusy:
        return texts::hostBusy();
    case Failure::LockedOut:
        return texts::lockedOut();
    case Failure::OtherVersion:
        return texts::otherVersion(theirVersion, wire::kVersion);
    case Failure::Garbled:
        return texts::garbledAnswer(address);
    }
    return texts::unreachable(address);
}

int hostDuel(quint16 port)
{
    const QString code = net::HostGate::newCode();
    net::HostGate gate(code);
    if (!gate.listen(QHostAddress::Any, port)) {
        dialogs::announce(nullptr, texts::cannotListen(port, gate.errorString()),
                          texts::networkTitle());
        return 1;
    }
    // For the players' terminal, and for scripts when the system chose the port.
    std::fputs(texts::hostListening(code, gate.port()).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    demin window;
    window.setWindowTitle(texts::hostTitle(code));
    HostSeat seat(window, gate);
    QObject::connect(&seat, &HostSeat::finished, &endWith);
    window.show();
    return QApplication::exec();
}

int joinDuel(std::optional<net::Endpoint> endpoint, std::optional<quint32> code)
{
    if (!endpoint) {
        endpoint = askUntilRead(texts::networkTitle(), texts::addressPrompt(), kLongestAddress,
                                &texts::badAddress,
                                [](const QString& typed) { return net::parseEndpoint(typed); });
        if (!endpoint)
            return 0;
    }
    if (!code) {
        code = askUntilRead(
            texts::networkTitle(), texts::codePrompt(), kLongestCode,
            [](const QString&) { return texts::badCode(); },
            [](const QString& typed) { return net::parseCode(typed); });
        if (!code)
            return 0;
    }

    // The attempt runs in the application's own loop; the window opens once the host lets
    // this side in, and the program ends once the duel does.
    net::JoinAttempt attempt(endpoint->host, endpoint->port, *code);
    std::unique_ptr<demin> window;
    std::unique_ptr<JoinSeat> seat;
    QObject::connect(&attempt, &net::JoinAttempt::joined, [&](net::Link* link) {
        window = std::make_unique<demin>();
        window->setWindowTitle(texts::joinTitle());
        seat = std::make_unique<JoinSeat>(*window, link);
        if (!attempt.token().isEmpty())
            seat->setComeback(new net::Comeback(endpoint->host, endpoint->port, attempt.token()));
        QObject::connect(seat.get(), &JoinSeat::finished, &endWith);
        window->show();
    });
    QObject::connect(&attempt, &net::JoinAttempt::failed,
                     [&attempt](net::JoinAttempt::Failure reason, int theirVersion) {
                         dialogs::announce(nullptr,
                                           joinFailureText(reason, theirVersion, attempt.address()),
                                           texts::networkTitle());
                         QApplication::exit(1);
                     });
    QTimer::singleShot(0, &attempt, &net::JoinAttempt::start);
    const int status = QApplication::exec();
    // The seat speaks to the window as it goes.
    seat.reset();
    return status;
}

} // namespace volcanelle
