// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelcontrol.h"
#include "engine/randomsource.h"
#include "remote/remoteside.h"
#include "server/roomduel.h"

#include <array>
#include <memory>

namespace volcanelle::server {

/// The engine's duel held by the server for a room, both sides played from their own
/// programs. The mines are drawn here from the system's entropy; each side is sent only
/// what its player sees. Side 1, who opened the room, is player 1.
class ServerDuel : public RoomDuel {
public:
    explicit ServerDuel(Outbox outbox);
    /// The mines drawn from `random` instead, which must outlive the duel: for the fuzzer,
    /// which needs the same run from the same bytes.
    ServerDuel(Outbox outbox, RandomSource& random);
    ~ServerDuel() override;

    void start() override;
    void receive(int side, const wire::Message& message) override;
    void replay(int side, std::uint32_t boxesSeen) override;
    void stop() override;
    bool over() const override { return stopped_ || control_.duel().finished(); }

    /// The duel as it stands, for tests and tools; the sides see only what they are sent.
    const Duel& duel() const { return control_.duel(); }

private:
    remote::RemoteSide& side(int side) { return *sides_[side == 2 ? 1 : 0]; }
    /// Both sides are told the rounds won so far.
    void giveVerdict();

    ServerDuel(Outbox outbox, std::unique_ptr<RandomSource> own, RandomSource* random);

    std::unique_ptr<RandomSource> ownRandom_; // the system's entropy, unless given another
    DuelControl control_;
    std::array<std::unique_ptr<remote::RemoteSide>, 2> sides_;
    bool stopped_ = false;
};

} // namespace volcanelle::server
