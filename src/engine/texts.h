// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of the rules: what the duel shows the players, whoever plays it and wherever it
// is shown. The network's texts are with the network play (netplay/networktexts.h), the
// command line's and the computer level's with the start-up (startup/startuptexts.h).
namespace volcanelle::texts {

// The game's name, its version, and the window title when the computer holds player 2 (the
// two-player window is titled "Volcanelle").
QString gameTitle();     // "Volcanelle", also for a box that has no title of its own
QString versionNumber(); // "1.00"
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

// The status bar while the other side chooses this round's mine count.
QString countBeingChosen();

} // namespace volcanelle::texts
