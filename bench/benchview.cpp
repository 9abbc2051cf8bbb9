// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchview.h"

#include <utility>

namespace volcanelle {

BenchView::BenchView(QString count, DuelView* target) : count_(std::move(count)), target_(target) {}

void BenchView::coverChanged(int index, bool covered)
{
    if (target_)
        target_->coverChanged(index, covered);
}

void BenchView::pictureChanged(int index, Picture picture)
{
    if (target_)
        target_->pictureChanged(index, picture);
}

void BenchView::showTurn(const QString& caption)
{
    if (target_)
        target_->showTurn(caption);
}

void BenchView::showScore(int joueur, const QString& caption)
{
    if (target_)
        target_->showScore(joueur, caption);
}

void BenchView::showRoundsWon(int joueur, const QString& caption)
{
    if (target_)
        target_->showRoundsWon(joueur, caption);
}

void BenchView::showMinesLeft(const QString& caption)
{
    if (target_)
        target_->showMinesLeft(caption);
}

void BenchView::announce(const QString&, const QString&) {}

bool BenchView::confirm(const QString&, const QString&)
{
    return true;
}

std::optional<QString> BenchView::askText(const QString&, const QString&)
{
    return count_;
}

} // namespace volcanelle
