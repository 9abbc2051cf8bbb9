// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedview.h"

#include "engine/duel.h"

#include <stdexcept>

namespace volcanelle::testing {

QStringList ScriptedView::logged(const QString& prefix) const
{
    QStringList lines;
    for (const QString& line : log)
        if (line.startsWith(prefix))
            lines << line;
    return lines;
}

void ScriptedView::coverChanged(int, bool) {}

void ScriptedView::pictureChanged(int, Picture) {}

void ScriptedView::showTurn(const QString& caption)
{
    turn = caption;
    log << QStringLiteral("turn: ") + caption;
}

void ScriptedView::showScore(int joueur, const QString& caption)
{
    scores[static_cast<std::size_t>(joueur - 1)] = caption;
    log << QStringLiteral("score%1: %2").arg(joueur).arg(caption);
}

void ScriptedView::showRoundsWon(int joueur, const QString& caption)
{
    roundsWon[static_cast<std::size_t>(joueur - 1)] = caption;
    log << QStringLiteral("won%1: %2").arg(joueur).arg(caption);
}

void ScriptedView::showMinesLeft(const QString& caption)
{
    status = caption;
    log << QStringLiteral("status: ") + caption;
}

void ScriptedView::ask(Duel& duel, const Question& question)
{
    switch (question.kind) {
    case Question::Kind::None:
        return;
    case Question::Kind::Notice:
        log << QStringLiteral("announce: %1: %2").arg(question.title, question.text);
        if (!holds)
            duel.acknowledge();
        return;
    case Question::Kind::NewRound:
    case Question::Kind::Quit: {
        log << QStringLiteral("confirm: ") + question.title;
        if (holds)
            return;
        // An unscripted question would otherwise be answered by chance; fail loudly instead.
        if (answers.empty())
            throw std::logic_error("ScriptedView: no answer queued for a question");
        const bool answer = answers.front();
        answers.pop_front();
        duel.answer(answer);
        return;
    }
    case Question::Kind::Count: {
        log << QStringLiteral("ask: ") + question.title;
        if (holds)
            return;
        // The round setup asks until it gets a count; an empty queue would loop for ever.
        if (typed.empty())
            throw std::logic_error("ScriptedView: no entry queued for the input box");
        const std::optional<QString> entry = typed.front();
        typed.pop_front();
        if (entry)
            duel.answerCount(*entry);
        else
            duel.cancel();
        return;
    }
    }
}

} // namespace volcanelle::testing
