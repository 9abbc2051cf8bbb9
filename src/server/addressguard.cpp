// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/addressguard.h"

#include "net/visitor.h"

namespace volcanelle::server {

namespace {

constexpr std::int64_t kMinuteMs = 60'000;

void dropOlderThanAMinute(std::deque<std::int64_t>& times, std::int64_t now)
{
    while (!times.empty() && now - times.front() >= kMinuteMs)
        times.pop_front();
}

} // namespace

bool AddressGuard::admit(const QHostAddress& address)
{
    Entry& entry = entries_[net::visitorKey(address)];
    if (entry.connections >= limits_.connectionsPerAddress)
        return false;
    ++entry.connections;
    return true;
}

void AddressGuard::release(const QHostAddress& address)
{
    const QByteArray k = net::visitorKey(address);
    auto it = entries_.find(k);
    if (it == entries_.end())
        return;
    if (it->connections > 0)
        --it->connections;
    if (it->connections == 0 && it->lockedUntil == 0 && it->wrongCodes.empty() &&
        it->roomsOpened.empty())
        entries_.erase(it);
}

bool AddressGuard::mayOpenRoom(const QHostAddress& address, std::int64_t now)
{
    Entry& entry = entries_[net::visitorKey(address)];
    dropOlderThanAMinute(entry.roomsOpened, now);
    if (static_cast<int>(entry.roomsOpened.size()) >= limits_.roomsPerAddressPerMinute)
        return false;
    entry.roomsOpened.push_back(now);
    return true;
}

void AddressGuard::wrongCode(const QHostAddress& address, std::int64_t now)
{
    Entry& entry = entries_[net::visitorKey(address)];
    dropOlderThanAMinute(entry.wrongCodes, now);
    entry.wrongCodes.push_back(now);
    if (static_cast<int>(entry.wrongCodes.size()) >= limits_.wrongCodesPerAddressPerMinute) {
        entry.lockedUntil = now + limits_.lockoutMs;
        entry.wrongCodes.clear();
    }
}

bool AddressGuard::lockedOut(const QHostAddress& address, std::int64_t now) const
{
    const auto it = entries_.constFind(net::visitorKey(address));
    return it != entries_.constEnd() && now < it->lockedUntil;
}

void AddressGuard::forget(std::int64_t now)
{
    for (auto it = entries_.begin(); it != entries_.end();) {
        dropOlderThanAMinute(it->roomsOpened, now);
        dropOlderThanAMinute(it->wrongCodes, now);
        if (it->lockedUntil <= now)
            it->lockedUntil = 0;
        const bool idle = it->connections == 0 && it->lockedUntil == 0 && it->roomsOpened.empty() &&
                          it->wrongCodes.empty();
        it = idle ? entries_.erase(it) : std::next(it);
    }
}

} // namespace volcanelle::server
