// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every text the duel shows to the players lives here, so that the window, the rules and
// the tests share one copy of each wording.
namespace volcanelle {
enum class Level;
}

namespace volcanelle::texts {

// The program itself: its version, its one-line description, and the window title when the
// computer holds player 2 (the two-player window is titled "Volcanelle").
QString gameTitle();          // "Volcanelle", also for a box that has no title of its own
QString versionNumber();      // "1.00"
QString versionCaption();     // "Version 1.0 RC 1", in the information window
QString programDescription(); // for the command line's help
QString computerWindowTitle();

// The mine-count question.
inline constexpr int kFewestMines = 30;
inline constexpr int kMostMines = 100;
QString mineCountPrompt();
QString mineCountTitle();

// Who the texts name as player 2: a person (at the desk or over the network), or the
// computer, which they call "l'ordinateur". Player 1 is always a person.
enum class Opponent { Person, Computer };

// The title of a player's panel: "Joueur 1 :", "Joueur 2 :" or "L'ordinateur :".
QString playerFrameCaption(int joueur, Opponent opponent = Opponent::Person);

// Captions written during play; numbers are plain decimal.
QString turnCaption(int joueur, Opponent opponent = Opponent::Person); // "Le joueur n°2 a la main."
QString scoreCaption(int points);               // "Score : 1 point", "Score : 2 points"
QString roundsWonCaption(int rounds);           // "Partie gagnée : 1", "Parties gagnées : 2"
QString minesLeftCaption(int mines);            // "1 bombe restante", "45 bombes restantes"
QString minesLeftCaption(const QString& typed); // the count as the players typed it

// Announcements and questions: a message and its title.
struct Message {
    QString text;
    QString title;
};

Message roundOver();     // a click once every mine has been found
Message roundFinished(); // the last mine has just been found
Message roundWonBy(int joueur, Opponent opponent = Opponent::Person);
Message roundDrawn();
Message askNewRound();
Message askQuit();
Message duelWonBy(int joueur, Opponent opponent = Opponent::Person);
Message duelDrawn();
/// The duel's verdict on rounds won: duelWonBy() the player with more, or duelDrawn().
Message duelVerdict(int won1, int won2, Opponent opponent = Opponent::Person);

// The computer's level, asked in a box when the game starts from the desktop's action, and
// the warnings about the level remembered between runs.
QString levelTitle();                                // "Jouer contre l'ordinateur"
QString levelPrompt();                               // the box's question
QString levelButton(Level level);                    // "Facile", "Moyen", "Difficile"
QString unknownRememberedLevel(const QString& kept); // printed on standard error
QString levelNotRemembered(const QString& where);    // printed on standard error

// A duel played over the network.
QString hostTitle(const QString& code); // "Volcanelle — duel en réseau, code 482913"
QString joinTitle();                    // "Volcanelle — duel en réseau"
QString waitingForOpponent();           // the host's turn label until someone joins
QString hostListening(const QString& code, int port); // printed by the host once it listens
QString countBeingChosen();                           // the status bar while the other side chooses
QString networkTitle();                               // the title of every box below
QString codePrompt();
QString addressPrompt();
QString badCode();
QString badAddress(const QString& typed);
QString cannotListen(int port, const QString& why);
QString unreachable(const QString& address);
QString wrongCode();
QString hostBusy();
QString lockedOut();
// Printed when the network play, a program of its own, cannot be started.
QString networkProgramMissing(const QString& path, const QString& why);
QString networkOptionsOnly(); // that program started without --host or --join
QString otherVersion(int theirs, int ours);
QString connectionLost();
QString garbledMessage();
QString flooding();
QString garbledAnswer(const QString& address); // the host's answer to hello was no message
QString opponentLeft();

} // namespace volcanelle::texts
