// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duel.h"
#include "engine/duelview.h"

#include <QString>

namespace volcanelle {

/// A view for benchmarks: answers every mine-count question at once with the same entry, so
/// that a round is set up without a modal box, and passes everything shown on to `target` when
/// one is given (the real window), or drops it. Announcements are acknowledged and questions
/// answered Yes at once: a modal box would stop the clock.
class BenchView final : public DuelView {
public:
    explicit BenchView(QString count, DuelView* target = nullptr);

    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void ask(Duel& duel, const Question& question) override;

private:
    QString count_;
    DuelView* target_;
};

} // namespace volcanelle
