// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volcanelle {

/// Where a game window's clicks and commands go when its duel is held elsewhere: the joiner's
/// window shows the host's duel, and the host's window waits for an opponent. The window
/// then plays nothing itself.
class RemoteDuel {
public:
    virtual ~RemoteDuel() = default;
    /// The player clicked the cover of cell `index`.
    virtual void cellClicked(int index) = 0;
    /// The player chose "Nouvelle manche"; nothing is confirmed yet.
    virtual void newRoundChosen() = 0;
    /// The player chose "Quitter"; nothing is confirmed yet.
    virtual void quitChosen() = 0;
};

} // namespace volcanelle
