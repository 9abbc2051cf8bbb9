// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace volcanelle {

/// What the duel waits for before it goes on: a box to show to one player, or to everyone.
struct Question {
    enum class Kind {
        None,     ///< nothing: the duel is in play, or over
        Count,    ///< the mine count, answered by Duel::answerCount() or Duel::cancel()
        NewRound, ///< "Nouvelle manche ?", answered by Duel::answer()
        Quit,     ///< "Quitter ?", answered by Duel::answer()
        Notice,   ///< an announcement with one OK button, answered by Duel::acknowledge()
    };

    Kind kind = Kind::None;
    /// The player asked (1 or 2); 0 for a notice that every player reads.
    int player = 0;
    /// The box's text (the prompt of the count) and its title.
    QString text;
    QString title;

    explicit operator bool() const { return kind != Kind::None; }
};

} // namespace volcanelle
