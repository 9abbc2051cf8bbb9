// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/roomcode.h"
#include "testclient.h"

namespace volcanelle::server {

/// Opens a room from one client and joins it from another, with the code typed as a player
/// might: lower case, no dash.
struct Pair {
    explicit Pair(quint16 port) : opener(port), joiner(port) {}
    bool enter()
    {
        if (!opener.waitOpen() || !joiner.waitOpen())
            return false;
        opener.send(wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}});
        const wire::Entered* first = opener.wait<wire::Entered>();
        if (!first)
            return false;
        code = first->room;
        const QString typed = net::roomCodeText(code).remove(QLatin1Char('-')).toLower();
        joiner.send(wire::Enter{
            wire::Enter::Action::Join, wire::kVersion, net::readRoomCode(typed).value_or(0), {}});
        return joiner.wait<wire::Entered>() != nullptr;
    }
    TestClient& side(int player) { return player == 2 ? joiner : opener; }

    TestClient opener;
    TestClient joiner;
    std::uint64_t code = 0;
};

} // namespace volcanelle::server
