// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <variant>

// The messages two programs exchange during a duel played over the network. The host holds
// the duel; the joiner sends what its player does and shows what the host tells it. Nothing
// here knows of sockets or windows: these are plain values, written and read by codec.h.
namespace volcanelle::wire {

/// Raised whenever a message changes meaning; both sides refuse any other number.
/// 2: the host's welcome carries a token, with which the joiner comes back (Rejoin).
/// 3: a side coming back to a duel server says how many boxes it received, and the snapshot
/// says how many it is counted as having received.
inline constexpr std::uint16_t kVersion = 3;
/// The cells of the board, numbered from 0 row by row.
inline constexpr std::size_t kCellCount = 225;
/// The secret that lets a side come back to its duel after losing its connection.
inline constexpr int kTokenSize = 16;

/// The joiner's first message: the version it speaks and the code the host showed.
struct Hello {
    std::uint16_t version = kVersion;
    std::uint32_t code = 0; ///< 0 to 999999
};
/// The host let the joiner in; the joiner checks the host's version in turn. Also the answer
/// to a Rejoin that the host took.
struct Welcome {
    std::uint16_t version = kVersion;
    QByteArray token; ///< kTokenSize bytes; empty only from a host of another version
};
/// Instead of Hello: the joiner lost its connection and comes back with the token of its
/// welcome, having received `boxesSeen` boxes (Announce) so far.
struct Rejoin {
    std::uint16_t version = kVersion;
    QByteArray token; ///< kTokenSize bytes
    std::uint32_t boxesSeen = 0;
};
/// The host turned the joiner away; the connection closes after it.
struct Refused {
    enum class Reason : std::uint8_t {
        WrongCode = 1,
        Busy = 2,
        LockedOut = 3,
        BadVersion = 4,
        NoSuchRoom = 5 ///< a duel server knows no room, or no side, by what was given
    };
    Reason reason = Reason::WrongCode;
    std::uint16_t version = kVersion;
};

/// Either side, every few seconds, so that a silent connection is known to be lost.
struct Ping {};
/// The duel is over and the sender is ending; the connection closes after it.
struct Bye {};

// Joiner to host.
/// The joiner's player clicked the cover of cell `index`.
struct Click {
    std::uint8_t index = 0;
};
/// The joiner's player confirmed "Nouvelle manche".
struct NewRound {};
/// The joiner's player confirmed "Quitter".
struct Quit {};
/// The joiner's answer to AskCount: the text typed, or nothing when the box was cancelled.
struct Count {
    bool given = false;
    QString text;
};

// Host to joiner.
/// A cell's cover, and its picture once uncovered. A covered cell never carries its picture.
struct Cell {
    std::uint8_t index = 0;
    bool covered = true;
    std::uint8_t picture = 0; ///< 1 to 10 when uncovered, 0 when covered
};
/// A caption written on the window.
struct Caption {
    enum class Slot : std::uint8_t {
        Turn = 0,     ///< the turn label; `value` is the player who has the turn
        Score1 = 1,   ///< player 1's points
        Score2 = 2,   ///< player 2's points
        Won1 = 3,     ///< player 1's rounds won, `value` of them
        Won2 = 4,     ///< player 2's rounds won, `value` of them
        MinesLeft = 5 ///< the status bar's text
    };
    Slot slot = Slot::Turn;
    std::uint16_t value = 0; ///< as told above; 0 for the other slots
    QString text;
};
/// A box with a single OK button, shown where the host shows it.
struct Announce {
    QString text;
    QString title;
};
/// The joiner's player chooses this round's mine count; answered with Count.
struct AskCount {};
/// The host's player is choosing the mine count.
struct CountBeingChosen {};
/// Everything a side's window shows of the duel, sent whole to a side that comes back. A
/// caption never shown is empty.
struct Snapshot {
    /// Per cell: 0 while covered, else its picture (1 to 10).
    std::array<std::uint8_t, kCellCount> cells{};
    std::uint8_t turn = 0; ///< the player who has the turn, 0 before any was told
    QString turnText;
    std::array<QString, 2> score;
    std::array<std::uint16_t, 2> won{};
    std::array<QString, 2> wonText;
    QString minesLeft;
    bool countBeingChosen = false; ///< told CountBeingChosen since the last mines-left text
    /// The boxes the side is counted as having received before the ones sent after this
    /// snapshot: its count from here on.
    std::uint32_t boxesSeen = 0;
};

// Between a game program and a duel server, which holds the duel for both sides.
/// A side's count of boxes received when it does not know it: the server's own count holds.
inline constexpr std::uint32_t kBoxesUnknown = 0xFFFFFFFF;
/// A room code: 40 bits, shown to players as eight characters (net/roomcode.h).
inline constexpr std::uint64_t kRoomCodeLimit = std::uint64_t{1} << 40;
/// The first message to a duel server: open a room, join one by its code, or come back to
/// one with the token the server gave.
struct Enter {
    enum class Action : std::uint8_t { Open = 1, Join = 2, Resume = 3 };
    Action action = Action::Open;
    std::uint16_t version = kVersion;
    std::uint64_t room = 0; ///< below kRoomCodeLimit; 0 to open
    QByteArray token;       ///< kTokenSize bytes to resume, empty otherwise
    /// To resume: the boxes received since the duel began, so that the server sends again
    /// those lost on a connection that was dead before anyone knew; kBoxesUnknown from a
    /// program that started again.
    std::uint32_t boxesSeen = kBoxesUnknown;
};
/// The server took the program into a room, as player `side` (1 or 2).
struct Entered {
    std::uint16_t version = kVersion;
    std::uint64_t room = 0;
    std::uint8_t side = 1;
    QByteArray token; ///< kTokenSize bytes
};
/// The other side of the room lost its connection, or came back.
struct Opponent {
    bool present = true;
};
/// The server ends the room before its duel is over (it stops, or nobody joined in time):
/// `text` says why, and Bye follows. The program ends as on a lost connection.
struct Farewell {
    QString text;
};

using Message = std::variant<Hello, Welcome, Refused, Ping, Bye, Click, NewRound, Quit, Count, Cell,
                             Caption, Announce, AskCount, CountBeingChosen, Enter, Entered,
                             Opponent, Rejoin, Snapshot, Farewell>;

} // namespace volcanelle::wire
