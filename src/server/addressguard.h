// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/limits.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <deque>

namespace volcanelle::server {

/// What each address has done lately: its open connections, the rooms it opened and the
/// wrong codes it tried in the last minute, and how long it is still refused. Times are
/// milliseconds on any steady clock, given by the caller so that tests choose them.
class AddressGuard {
public:
    explicit AddressGuard(const ServerLimits& limits) : limits_(limits) {}

    /// Counts a new connection; false, counting nothing, when the address has too many.
    bool admit(const QHostAddress& address);
    /// A connection that admit() counted has closed.
    void release(const QHostAddress& address);

    /// Counts a room opened now; false, counting nothing, when the address opened enough.
    bool mayOpenRoom(const QHostAddress& address, std::int64_t now);
    /// Counts a wrong room code or token; past the limit the address is refused a while.
    void wrongCode(const QHostAddress& address, std::int64_t now);
    bool lockedOut(const QHostAddress& address, std::int64_t now) const;

    /// Forgets what is over a minute old and every address left with nothing; the server
    /// calls it now and then so that passing addresses do not pile up.
    void forget(std::int64_t now);
    int remembered() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        int connections = 0;
        std::deque<std::int64_t> roomsOpened;
        std::deque<std::int64_t> wrongCodes;
        std::int64_t lockedUntil = 0;
    };
    const ServerLimits& limits_;
    QHash<QByteArray, Entry> entries_; // by net::visitorKey
};

} // namespace volcanelle::server
