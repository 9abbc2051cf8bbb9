// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/computerlevel.h"
#include "net/address.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>
#include <optional>

namespace volcanelle {

/// How the game was asked to start. The defaults are the two-player duel at one desk: a
/// run without any option must stay exactly that game.
struct Options {
    /// Player 2 is the computer, which plays its turns by itself.
    bool computer = false;
    /// The computer's level as the command line gives it; none for the level chosen last.
    std::optional<Level> level;
    /// The level is asked in a box, the level chosen last offered first.
    bool askLevel = false;
    /// Host a network duel as player 1, on `port`.
    bool host = false;
    quint16 port = net::kDefaultPort;
    /// Join a network duel as player 2; what is not given here is asked for in a box.
    bool join = false;
    std::optional<net::Endpoint> endpoint;
    std::optional<quint32> code;
    /// Play through a duel server: open a room, or join `room`; `askRoom` asks its code.
    bool online = false;
    std::optional<QUrl> server; ///< none: the server used last, or asked for
    std::optional<std::uint64_t> room;
    bool askRoom = false;
};

/// What reading the command line gave: options to start the game with, or an exit status
/// with the text to print instead of opening any window (help, version, or a refusal).
struct CommandLine {
    Options options;
    /// Set when the program must end at once with this status (0 help and version, 2 for
    /// a command line it refuses).
    std::optional<int> exitCode;
    /// For standard output (help, version).
    QString out;
    /// For standard error: a French sentence naming what was refused.
    QString err;
};

/// `text` with every control character written out (ESC as \e, others as \u{1b}-style
/// codes), so that what a player typed can be quoted on a terminal without acting on it.
QString withVisibleControls(const QString& text);

/// Reads `arguments` (the program's name first, as in argv). Needs no application object
/// and no display, so that --help, --version and refusals work anywhere.
CommandLine parseCommandLine(const QStringList& arguments);

/// Reads argv and prints the help, version or refusal when there is one. Call before any
/// application object exists; start the game only when `exitCode` is empty.
CommandLine readCommandLine(int argc, char* argv[]);

} // namespace volcanelle
