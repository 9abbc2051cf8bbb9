// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/computerlevel.h"

#include <QString>

// The texts of the game's start: its one-line description for the command line's help, and
// the computer's level, asked in a box when the game starts from the desktop's action, with
// the warnings about the level remembered between runs.
namespace volcanelle::texts {

QString programDescription();                        // for the command line's help
QString levelTitle();                                // "Jouer contre l'ordinateur"
QString levelPrompt();                               // the box's question
QString levelButton(Level level);                    // "Facile", "Moyen", "Difficile"
QString unknownRememberedLevel(const QString& kept); // printed on standard error
QString levelNotRemembered(const QString& where);    // printed on standard error

} // namespace volcanelle::texts
