// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volcanelle {

/// Where a game window's clicks and commands go: the duel the window holds, played by the
/// sides seated at its DuelControl, or a duel held elsewhere (the joiner's window shows the
/// host's duel, a server's room holds both sides' duel), or nothing yet (the host's window
/// waits for an opponent). The window itself never asks which.
class DeskCommands {
public:
    virtual ~DeskCommands() = default;
    /// The player clicked the cover of cell `index`.
    virtual void cellClicked(int index) = 0;
    /// The player chose "Nouvelle manche"; nothing is confirmed yet.
    virtual void newRoundChosen() = 0;
    /// The player chose "Quitter"; nothing is confirmed yet.
    virtual void quitChosen() = 0;
};

} // namespace volcanelle
