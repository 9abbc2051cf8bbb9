// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of a duel played online, through a duel server. Qt Core only, like the network
// duel's texts, so that the command line reads the online options without the network play.
namespace volcanelle::texts {

QString onlineTitle(const QString& room); // "Volcanelle — duel en ligne, salle XXXX-XXXX"
QString onlineBoxTitle();                 // the title of every box below
/// Printed once the room is open or joined, for the players' terminal and for scripts.
QString onlineEntered(const QString& room, int side);

/// The room's opener is told how the opponent comes in: by the code, or by `link` in a browser.
QString invitation(const QString& room, const QString& link);
QString copyLink(); // "Copier le lien"

QString serverPrompt();
QString badServer(const QString& typed);
QString roomPrompt();
QString badRoom(const QString& typed);

// Why entering a room failed, and what the status bar says while the other side is away.
QString serverUnreachable(const QString& address);
QString noSuchRoom();
QString roomTaken();
QString tooManyTries();
QString serverGarbled(const QString& address);
QString opponentAway();

// The command line's help for the online options, and its refusals.
QString onlineOption();
QString serverOption();
QString roomOption();
QString roomAskOption();
QString onlineOnly(const QString& option);

} // namespace volcanelle::texts
