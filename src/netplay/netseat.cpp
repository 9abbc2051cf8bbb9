// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/netseat.h"

#include <QTimer>

namespace volcanelle {

namespace {
constexpr std::size_t kMostWaiting = 4096;
} // namespace

NetSeat::Busy::~Busy()
{
    if (--seat_.busy_ == 0)
        QTimer::singleShot(0, &seat_, &NetSeat::drain);
}

NetSeat::NetSeat(State state, QObject* parent) : QObject(parent), state_(state) {}

void NetSeat::take(const wire::Message& message, net::Link& link)
{
    // Far more than a player can send while a box waits here: a flood, not a duel.
    if (inbox_.size() >= kMostWaiting) {
        inbox_.clear();
        link.close(0);
        lost(net::Link::Loss::Garbled);
        return;
    }
    inbox_.push_back(message);
    drain();
}

void NetSeat::drain()
{
    if (draining_)
        return;
    draining_ = true;
    while (!inbox_.empty() && busy_ == 0 && !holds() && state_ == State::Playing) {
        const wire::Message message = inbox_.front();
        inbox_.pop_front();
        play(message);
    }
    draining_ = false;
}

void NetSeat::end(int status)
{
    state_ = State::Ended;
    emit finished(status);
}

} // namespace volcanelle
