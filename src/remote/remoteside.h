// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelcontrol.h"
#include "wire/sidescreen.h"

#include <cstdint>
#include <functional>

namespace volcanelle::remote {

/// One player of a duel held by a DuelControl, played from elsewhere: the seat of that
/// player and a view of the duel. What the duel shows goes out as wire messages for this
/// side, never the picture of a covered cell; what the side sends comes back as the duel's
/// answers, every move through DuelControl::play. Anything the side may not say now
/// changes nothing.
///
/// The side confirms "Nouvelle manche ?" and "Quitter ?" at its end before it sends them,
/// so both are answered Yes here. Notices go out as boxes; the duel does not wait for them.
class RemoteSide : public DuelSeat, public DuelView {
public:
    /// Sends one message to the side; false when it could not go out (the side is away).
    using Send = std::function<bool(const wire::Message& message)>;

    /// Seats itself as `player` (1 or 2) of `control` and watches it.
    RemoteSide(DuelControl& control, int player, Send send);
    ~RemoteSide() override;

    int player() const { return player_; }
    /// A message from the side.
    void receive(const wire::Message& message);
    /// The side is back on a new connection, having received `boxesSeen` boxes
    /// (wire::kBoxesUnknown when it does not know): its screen as it stands, the boxes that
    /// did not reach it, and the count again when it owes it.
    void replay(std::uint32_t boxesSeen);
    /// Sends a box the duel did not show (the end of a duel stopped from outside).
    void tell(const QString& text, const QString& title);
    /// Whether the duel has been set up once: the first count was answered.
    bool inPlay() const { return inPlay_; }

    // DuelSeat
    void ask(Duel& duel, const Question& question) override;
    void othersAsked(const Question& question) override;
    // DuelView
    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void settled() override { inPlay_ = true; }

private:
    bool owesCount() const;
    void send(const wire::Message& message);

    DuelControl& control_;
    int player_;
    Send send_;
    wire::SideScreen screen_;     // what the side has been shown, for its comeback
    std::uint32_t boxesSeen_ = 0; // boxes that went out to the side
    bool countAsked_ = false;     // the count question is open at the side's end
    bool inPlay_ = false;
};

} // namespace volcanelle::remote
