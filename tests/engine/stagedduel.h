// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "counteddraws.h"
#include "engine/duel.h"
#include "recordingview.h"

#include <initializer_list>
#include <stdexcept>
#include <vector>

namespace volcanelle::testing {

/// A duel whose rounds hide exactly the given mines (30 to 100 of them), with player 1 to
/// play first. The view's record starts empty once the first round is set up.
class StagedDuel {
public:
    explicit StagedDuel(const std::vector<int>& mines,
                        texts::Opponent opponent = texts::Opponent::Person)
        : draws(mines), opponent(opponent), count(QString::number(mines.size()))
    {
        view.typed.push_back(count);
        if (!duel.startDuel() || duel.board().mineCount() != static_cast<int>(mines.size()))
            throw std::logic_error("StagedDuel: the board could not be set up");
        view.forget();
    }

    void click(std::initializer_list<int> cells)
    {
        for (const int cell : cells)
            duel.cmdCase_Click(cell);
    }

    /// "Nouvelle manche" answered Yes, with the same mines again.
    void newRound()
    {
        view.answers.push_back(true);
        view.typed.push_back(count);
        duel.askNewRound();
    }

    RecordingView view;
    CountedDraws draws;
    texts::Opponent opponent;
    Duel duel{view, draws, opponent};

private:
    QString count;
};

} // namespace volcanelle::testing
