// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/online.h"

#include "net/address.h"
#include "net/comeback.h"
#include "net/joinattempt.h"
#include "net/roomcode.h"
#include "netplay/asking.h"
#include "netplay/joinseat.h"
#include "netplay/networktexts.h"
#include "netplay/onlinetexts.h"
#include "netplay/roomclaims.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "window/demin.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace volcanelle {

namespace {

// What the boxes take: a long ws:// address, and a code with room for blanks around it.
constexpr int kLongestServer = 2048;
constexpr int kLongestRoom = 16;

QString serverKey()
{
    return QStringLiteral("online/server");
}

QString enterFailureText(net::JoinAttempt::Failure reason, int theirVersion, const QString& address)
{
    using Failure = net::JoinAttempt::Failure;
    switch (reason) {
    case Failure::Unreachable:
        break;
    case Failure::WrongCode:
        return texts::noSuchRoom();
    case Failure::HostBusy:
        return texts::roomTaken();
    case Failure::LockedOut:
        return texts::tooManyTries();
    case Failure::OtherVersion:
        return texts::otherVersion(theirVersion, wire::kVersion);
    case Failure::Garbled:
        return texts::serverGarbled(address);
    }
    return texts::serverUnreachable(address);
}

// The duel server's page for the room, where a friend plays in a browser: the server's own
// origin, as plain or secure as its WebSocket.
QString pageLink(const QUrl& server, std::uint64_t room)
{
    QUrl page;
    page.setScheme(server.scheme() == QLatin1String("wss") ? QStringLiteral("https")
                                                           : QStringLiteral("http"));
    page.setHost(server.host());
    page.setPort(server.port());
    page.setPath(QStringLiteral("/"));
    page.setFragment(net::roomCodeText(room));
    return page.toString();
}

} // namespace

int playOnline(std::optional<QUrl> server, std::optional<std::uint64_t> room, bool askRoom)
{
    const std::unique_ptr<QSettings> settings = openGameSettings();
    if (!server)
        server = net::parseServer(settings->value(serverKey()).toString());
    if (!server) {
        server = askUntilRead(texts::onlineBoxTitle(), texts::serverPrompt(), kLongestServer,
                              &texts::badServer,
                              [](const QString& typed) { return net::parseServer(typed); });
        if (!server)
            return 0;
    }
    if (askRoom) {
        room = askUntilRead(texts::onlineBoxTitle(), texts::roomPrompt(), kLongestRoom,
                            &texts::badRoom,
                            [](const QString& typed) { return net::readRoomCode(typed); });
        if (!room)
            return 0;
    }

    RoomClaims claims;
    wire::Enter enter;
    if (room) {
        enter.action = wire::Enter::Action::Join;
        enter.room = *room;
        // Started again after this side's program was ended mid-duel: back to that side.
        if (const std::optional<RoomClaims::Side> left = claims.takeLeftSide(*server, *room)) {
            enter.action = wire::Enter::Action::Resume;
            enter.token = left->token;
        }
    }

    // The attempt runs in the application's own loop; the window opens once the server lets
    // this side in, and the program ends once the duel does.
    std::unique_ptr<net::JoinAttempt> attempt;
    std::unique_ptr<demin> window;
    std::unique_ptr<JoinSeat> seat;
    std::function<void()> start;
    const auto entered = [&](net::Link* link) {
        const std::uint64_t code = attempt->room();
        const QByteArray token = attempt->token();
        settings->setValue(serverKey(), server->toString());
        claims.claim(*server, code, attempt->side(), token);
        // For the players' terminal, and for scripts.
        std::fputs(texts::onlineEntered(net::roomCodeText(code), attempt->side())
                       .toLocal8Bit()
                       .constData(),
                   stdout);
        std::fflush(stdout);
        window = std::make_unique<demin>();
        window->setWindowTitle(texts::onlineTitle(net::roomCodeText(code)));
        seat = std::make_unique<JoinSeat>(*window, link, attempt->side());
        const bool opened = enter.action == wire::Enter::Action::Open;
        // The opener waits for the other side; once the duel has begun, the server's
        // snapshot of a side that comes back writes the turn over.
        if (attempt->side() == 1)
            window->control().showTurn(texts::waitingForOpponent());
        const QUrl url = *server;
        seat->setComeback(new net::Comeback([url, code, token](quint32 boxesSeen) {
            return new net::JoinAttempt(url, wire::Enter{wire::Enter::Action::Resume,
                                                         wire::kVersion, code, token, boxesSeen});
        }));
        QObject::connect(seat.get(), &JoinSeat::finished, [&claims](int status) {
            claims.release();
            endWith(status);
        });
        window->show();
        if (opened) {
            const QString link = pageLink(*server, code);
            QTimer::singleShot(0, seat.get(), [&seat, code, link] {
                seat->invite(texts::invitation(net::roomCodeText(code), link), link);
            });
        }
    };
    const auto failed = [&](net::JoinAttempt::Failure reason, int theirVersion) {
        // A side this program no longer holds (the duel ended meanwhile): join as anyone.
        if (enter.action == wire::Enter::Action::Resume &&
            reason == net::JoinAttempt::Failure::WrongCode) {
            claims.release();
            enter.action = wire::Enter::Action::Join;
            enter.token.clear();
            QTimer::singleShot(0, start);
            return;
        }
        dialogs::announce(nullptr, enterFailureText(reason, theirVersion, server->toString()),
                          texts::onlineBoxTitle());
        QApplication::exit(1);
    };
    start = [&] {
        if (attempt)
            attempt.release()->deleteLater();
        attempt = std::make_unique<net::JoinAttempt>(*server, enter);
        QObject::connect(attempt.get(), &net::JoinAttempt::joined, entered);
        QObject::connect(attempt.get(), &net::JoinAttempt::failed, failed);
        attempt->start();
    };
    QTimer::singleShot(0, start);
    const int status = QApplication::exec();
    // The seat speaks to the window as it goes.
    seat.reset();
    return status;
}

} // namespace volcanelle
