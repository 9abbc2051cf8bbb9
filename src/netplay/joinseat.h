// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelview.h"
#include "netplay/netseat.h"

#include <array>

namespace volcanelle {

class demin;

/// The joiner's side of a network duel. The joiner is player 2 and holds nothing of the
/// duel: its window shows what the host says was uncovered, written and announced, and its
/// player's clicks and commands go to the host. A click is sent only on the joiner's turn and
/// on a cell this window shows covered.
///
/// The host's messages are shown in the order they came; a box that one of them opens holds
/// back the ones behind it until the player answers it, as on the host's screen.
class JoinSeat : public NetSeat {
    Q_OBJECT
public:
    /// Takes over `link`, already welcomed by the host.
    JoinSeat(demin& window, net::Link* link, QObject* parent = nullptr);
    ~JoinSeat() override;

private:
    // RemoteDuel
    void cellClicked(int index) override;
    void newRoundChosen() override;
    void quitChosen() override;
    void received(const wire::Message& message);
    void play(const wire::Message& message) override;
    /// Asks this side's player for the mine count until one is sent or the player quits.
    void chooseCount();
    /// Asks "Quitter ?"; on Yes tells the host, shows the verdict and ends. True on Yes.
    bool confirmQuit();
    void lost(net::Link::Loss loss) override;
    void sayVerdict();
    /// The cells the host's last messages uncovered are one move: the focus is placed after
    /// it as after a move played here.
    void finishMove();
    DuelView& view();

    demin& window_;
    net::Link* link_;
    bool hostLeft_ = false;
    int turn_ = 0;
    std::array<int, 2> roundsWon_{};
    int moveStart_ = -1; // first cell uncovered by the move being shown, or -1
    int moveOpened_ = 0;
};

} // namespace volcanelle
