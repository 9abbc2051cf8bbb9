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

void BenchView::ask(Duel& duel, const Question& question)
{
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Notice:
        duel.acknowledge();
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit:
        duel.answer(true);
        return;
    case Question::Kind::Count:
        duel.answerCount(count_);
        return;
    }
}

} // namespace volcanelle
