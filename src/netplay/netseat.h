// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/inbox.h"
#include "net/link.h"
#include "window/deskcommands.h"

#include <QObject>

namespace volcanelle {

/// What the host's and the joiner's sides of a network duel share: the other side's messages
/// wait in an inbox and are played one at a time, only while the duel is in play and nothing
/// holds them back (holds(): a box open at this desk).
class NetSeat : public QObject, public DeskCommands {
    Q_OBJECT
public:
    ~NetSeat() override = default;

signals:
    /// The duel is over and the program should end with `status`: 0 when a player quit,
    /// 1 when the connection was lost.
    void finished(int status);

protected:
    enum class State { Waiting, Playing, Ended };

    NetSeat(State state, QObject* parent);

    /// Queues `message` from `link` and plays what may be played now.
    void take(const wire::Message& message, net::Link& link);
    void drain();
    void end(int status);

    /// Whether messages must wait now.
    virtual bool holds() const { return false; }
    /// Acts on one message of the other side.
    virtual void play(const wire::Message& message) = 0;
    virtual void lost(net::Link::Loss loss) = 0;

    State state_;

private:
    // The host's desk still answers the duel's questions with boxes that wait, and a message
    // may come in while one is open: it must not start a second drain under the first.
    bool draining_ = false;
    net::Inbox inbox_;
};

} // namespace volcanelle
