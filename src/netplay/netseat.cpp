// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/netseat.h"

namespace volcanelle {

NetSeat::NetSeat(State state, QObject* parent) : QObject(parent), state_(state) {}

void NetSeat::take(const wire::Message& message, net::Link& link)
{
    // Far more than a player can send while a box waits here: a flood, not a duel.
    if (!inbox_.push(message)) {
        inbox_.clear();
        link.close(0);
        lost(net::Link::Loss::Flooded);
        return;
    }
    drain();
}

void NetSeat::drain()
{
    if (draining_)
        return;
    draining_ = true;
    while (!inbox_.empty() && !holds() && state_ == State::Playing) {
        play(inbox_.pop());
    }
    draining_ = false;
}

void NetSeat::end(int status)
{
    state_ = State::Ended;
    emit finished(status);
}

} // namespace volcanelle
