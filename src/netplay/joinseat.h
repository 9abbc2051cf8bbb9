// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelview.h"
#include "netplay/netseat.h"
#include "wire/messages.h"

#include <array>
#include <functional>

namespace volcanelle {

class demin;
namespace net {
class Comeback;
}

/// A side of a duel held elsewhere: the joiner of a network duel (player 2), whose host holds
/// the duel, or either side of a duel server's room. It holds nothing of the duel: its window
/// shows what the other end says was uncovered, written and announced, and its player's
/// clicks and commands go there. A click is sent only on this side's turn and on a cell this
/// window shows covered.
///
/// The host's messages are shown in the order they came; a box that one of them opens holds
/// back the ones behind it until the player answers it, as on the host's screen. The boxes
/// are modal but do not wait: the seat goes on when they are answered.
///
/// With a way back (setComeback), a connection that closes or falls silent is not the end:
/// the status bar says so, the board waits, and the seat comes back to the host on a new
/// connection, which shows the duel as it stands.
class JoinSeat : public NetSeat {
    Q_OBJECT
public:
    /// Takes over `link`, already welcomed by the host or the server, as player `side`.
    JoinSeat(demin& window, net::Link* link, int side = 2, QObject* parent = nullptr);
    ~JoinSeat() override;

    /// Takes over `comeback`, the way back to the host when the connection is lost.
    void setComeback(net::Comeback* comeback);
    /// Tells the player how the opponent comes in; what the other end says meanwhile waits
    /// for the box to close.
    void invite(const QString& text, const QString& link);

private:
    // DeskCommands: the window's clicks and commands, for the duel held elsewhere.
    void cellClicked(int index) override;
    void newRoundChosen() override;
    void quitChosen() override;
    void received(const wire::Message& message);
    void play(const wire::Message& message) override;
    /// Asks this side's player for the mine count until one is sent or the player quits.
    void chooseCount();
    /// Asks "Quitter ?"; on Yes tells the host, shows the verdict and ends. `then` hears
    /// whether the player left.
    void confirmQuit(std::function<void(bool)> then);
    /// Messages wait while one of this side's boxes is open.
    bool holds() const override;
    void boxClosed();
    void lost(net::Link::Loss loss) override;
    void goAway();
    void cameBack(net::Link* link);
    void listenTo(net::Link* link);
    /// The connection is gone for good: the reason and the verdict, then the end.
    void endLost(net::Link::Loss loss);
    /// Shows the duel as the host says it stands now.
    void showSnapshot(const wire::Snapshot& state);
    /// Writes the status bar, or what it will show once both sides are back.
    void showStatus(const QString& text);
    /// The status bar as it stands: the duel's text, or why the duel waits.
    void showCover();
    /// Shows the verdict so far; `then` runs once it is read.
    void sayVerdict(std::function<void()> then);
    /// The cells the host's last messages uncovered are one move: the focus is placed after
    /// it as after a move played here.
    void finishMove();
    DuelView& view();

    demin& window_;
    net::Link* link_;
    int side_;
    net::Comeback* comeback_ = nullptr;
    bool hostLeft_ = false;
    bool away_ = false;          // this side's connection is lost
    bool opponentAway_ = false;  // the server says the other side's is
    bool farewell_ = false;      // the server ended the room before the duel's end
    QString statusBehind_;       // the status a wait covers
    quint32 boxesSeen_ = 0;      // boxes received from the host since the duel began
    int boxesOpen_ = 0;          // this side's boxes waiting for the player
    bool choosingCount_ = false; // the count box is open
    bool countQueued_ = false;   // a count question waits in the inbox
    int turn_ = 0;
    std::array<int, 2> roundsWon_{};
    int moveStart_ = -1; // first cell uncovered by the move being shown, or -1
    int moveOpened_ = 0;
};

} // namespace volcanelle
