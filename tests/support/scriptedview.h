// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelview.h"

#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <optional>

namespace volcanelle::testing {

/// A DuelView for tests: answers the duel's questions at once from queues given in advance
/// (announcements are simply acknowledged), keeps what each label shows, and logs every
/// exchange in order ("announce: <title>: <text>",
/// "turn: ...", "score1: ...", "won2: ...", "status: ...", "ask: <title>", "confirm: <title>").
/// Cover and picture changes are not logged, to keep the log readable.
class ScriptedView : public DuelView {
public:
    /// Queued answers to the input box; std::nullopt stands for "Annuler".
    std::deque<std::optional<QString>> typed;
    /// Queued answers to Yes/No questions.
    std::deque<bool> answers;

    /// Leaves every question waiting, for the test to answer through the duel.
    bool holds = false;

    QStringList log;
    QString turn;
    std::array<QString, 2> scores;
    std::array<QString, 2> roundsWon;
    QString status;

    /// Log lines that start with `prefix`.
    QStringList logged(const QString& prefix) const;

    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void ask(Duel& duel, const Question& question) override;
};

} // namespace volcanelle::testing
