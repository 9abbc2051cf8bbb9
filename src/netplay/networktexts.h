// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of a duel played over the network: titles, prompts and what ends it. Qt Core
// only, so that the command line reads a network option without loading the network play.
namespace volcanelle::texts {

// Titles and the words of the host before anyone joins.
QString hostTitle(const QString& code); // "Volcanelle — duel en réseau, code 482913"
QString joinTitle();                    // "Volcanelle — duel en réseau"
QString waitingForOpponent();           // the host's turn label until someone joins
QString hostListening(const QString& code, int port); // printed by the host once it listens

// The boxes that ask where to join and with which code, and their refusals.
QString networkTitle(); // the title of every box below
QString codePrompt();
QString addressPrompt();
QString badCode();
QString badAddress(const QString& typed);
QString cannotListen(int port, const QString& why);

// Printed when the network play, a program of its own, cannot be started.
QString networkProgramMissing(const QString& path, const QString& why);
QString networkOptionsOnly(); // that program started without --host or --join

// Why a join failed, and why a duel stopped.
QString unreachable(const QString& address);
QString wrongCode();
QString hostBusy();
QString lockedOut();
QString otherVersion(int theirs, int ours);
QString connectionLost();
QString connectionInterrupted(); // the status bar while the other side is away
QString garbledMessage();
QString flooding();
QString garbledAnswer(const QString& address); // the host's answer to hello was no message
QString opponentLeft();

} // namespace volcanelle::texts
