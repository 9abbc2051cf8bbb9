// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/addressguard.h"
#include "server/clientlink.h"
#include "server/limits.h"
#include "server/pagefiles.h"
#include "server/roomduel.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <unordered_map>
#include <vector>

class QHostAddress;

namespace volcanelle::server {

class Listener;
class Room;

/// The duel server: rooms of two sides, each side a WebSocket connection, all on one
/// thread; the same port answers a browser's plain requests with the page that plays a side. A
/// connection first asks for a room (Enter): to open one, to join one by its code, or to come back
/// to its side with its token; then its messages go to its room's duel. Every limit of ServerLimits
/// is kept here, and one line per room event is written to standard error, naming no player beyond
/// an address.
class DuelServer : public QObject {
    Q_OBJECT
public:
    DuelServer(const ServerLimits& limits, RoomDuelFactory makeDuel, QObject* parent = nullptr);
    ~DuelServer() override;

    /// False, with errorString(), when the port cannot be had.
    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const;
    quint16 port() const;

    /// Gives every duel its verdict and tells both sides `farewell`, then stops listening;
    /// `stopped` comes once every connection has closed.
    void stop(const QString& farewell);

    /// Takes on `fd`, a socket from `address` that is already a WebSocket: the fuzzer's way
    /// in, which hands the server one end of a socket pair.
    ClientLink* adopt(int fd, const QHostAddress& address);
    /// What a message from `link` does: before a room, only Enter is heard; after, its
    /// room's duel hears everything but a second Enter, which ends the link.
    void handle(ClientLink* link, const wire::Message& message);
    /// The deadlines: silent links and links with no room dropped, pings sent, rooms past
    /// their time closed. Runs twice a second.
    void sweep();

    int roomCount() const { return static_cast<int>(rooms_.size()); }
    /// The code of every room open, in no order.
    std::vector<std::uint64_t> roomCodes() const;
    int linkCount() const { return static_cast<int>(links_.size()); }

signals:
    void stopped();

private:
    void accept(int fd);
    /// A link on `fd`; one that begins with a request came through the listening socket and
    /// counts for its address.
    ClientLink* take(int fd, const QHostAddress& address, ClientLink::Start start);
    void enter(ClientLink* link, const wire::Enter& enter);
    void refuse(ClientLink* link, wire::Refused::Reason reason);
    void linkGone(ClientLink* link);
    void log(const Room* room, const QString& what) const;
    Room* openRoom(const QHostAddress& by);
    void checkStopped();

    ServerLimits limits_;
    RoomDuelFactory makeDuel_;
    AddressGuard guard_;
    Listener* tcp_;
    PageFiles pages_;
    std::unordered_map<std::uint64_t, Room*> rooms_;
    QHash<ClientLink*, bool> links_; // with whether the link counts for its address
    int lingering_ = 0;              // sockets closed cleanly, their last bytes on the way
    QTimer sweep_;
    bool stopping_ = false;
    bool stopEmitted_ = false;
};

} // namespace volcanelle::server
