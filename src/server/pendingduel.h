// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/roomduel.h"

namespace volcanelle::server {

/// The duel of a room until the engine's duel can be held without a window: it tells both
/// sides that this server holds no duel yet, and ends. Everything else of the server (rooms,
/// limits, comebacks) works around it.
class PendingDuel : public RoomDuel {
public:
    explicit PendingDuel(Outbox outbox) : outbox_(std::move(outbox)) {}

    void start() override;
    void receive(int, const wire::Message&) override {}
    void replay(int) override {}
    void stop() override { over_ = true; }
    bool over() const override { return over_; }

private:
    Outbox outbox_;
    bool over_ = false;
};

} // namespace volcanelle::server
