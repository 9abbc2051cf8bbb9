// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duelview.h"

#include <QString>

namespace volcanelle {

/// A view for benchmarks: answers every mine-count question with the same entry, so that a
/// round is set up without a modal box, and passes everything else on to `target` when one is
/// given (the real window), or drops it. Announcements are dropped and questions answered Yes:
/// the benchmarks never reach them, and a modal box would stop the clock.
class BenchView final : public DuelView {
public:
    explicit BenchView(QString count, DuelView* target = nullptr);

    void coverChanged(int index, bool covered) override;
    void pictureChanged(int index, Picture picture) override;
    void showTurn(const QString& caption) override;
    void showScore(int joueur, const QString& caption) override;
    void showRoundsWon(int joueur, const QString& caption) override;
    void showMinesLeft(const QString& caption) override;
    void announce(const QString& text, const QString& title) override;
    bool confirm(const QString& text, const QString& title) override;
    std::optional<QString> askText(const QString& prompt, const QString& title) override;

private:
    QString count_;
    DuelView* target_;
};

} // namespace volcanelle
