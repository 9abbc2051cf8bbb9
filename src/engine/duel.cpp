// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/duel.h"

#include "engine/minecount.h"
#include "engine/texts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace volcanelle {

Duel::Duel(DuelView& view, RandomSource& random, texts::Opponent opponent)
    : view_(view), random_(random), opponent_(opponent), board_(&view)
{
}

bool Duel::startDuel()
{
    partiesGagnees_ = {0, 0};
    joueur_ = 1;
    finished_ = false;
    firstRoundReady_ = false;
    question_ = {};
    view_.showTurn(texts::turnCaption(joueur_, opponent_));
    return nouvelleManche(1);
}

bool Duel::nouvelleManche(int by)
{
    random_.reseed();
    for (int index = 0; index < kCells; ++index) {
        board_.showPicture(index, Picture::Blank);
        board_.cover(index);
    }
    counter_ = by == 2 ? 2 : 1;
    askCount();
    return !finished_;
}

void Duel::ask(Question question)
{
    question_ = std::move(question);
    // Last in every step: the view may answer from inside, which moves the duel on.
    view_.ask(*this, question_);
}

void Duel::askCount()
{
    quitFromCount_ = false;
    ask({Question::Kind::Count, counter_, texts::mineCountPrompt(), texts::mineCountTitle()});
}

void Duel::answerCount(const QString& typed)
{
    if (question_.kind != Question::Kind::Count)
        return;
    const std::optional<MineCount> count = readMineCount(typed);
    if (!count) {
        askCount();
        return;
    }
    question_ = {};
    firstRoundReady_ = true;
    setUp(count->mines, count->shown);
    view_.settled();
}

void Duel::cancel()
{
    if (question_.kind != Question::Kind::Count)
        return;
    // The first time there is nothing to lose and the game simply ends; later on the
    // player is asked whether to leave the way "Quitter" does, or is asked the count again.
    if (!firstRoundReady_) {
        question_ = {};
        finished_ = true;
        view_.ended();
        return;
    }
    const texts::Message question = texts::askQuit();
    quitFromCount_ = true;
    ask({Question::Kind::Quit, counter_, question.text, question.title});
}

void Duel::setUp(int mines, const QString& shown)
{
    bombesRestantes_ = mines;
    view_.showMinesLeft(texts::minesLeftCaption(shown));
    score_ = {0, 0};
    view_.showScore(1, texts::scoreCaption(0));
    view_.showScore(2, texts::scoreCaption(0));
    placeMines(mines);
    numberCells();
}

void Duel::placeMines(int count)
{
    int placed = 0;
    while (placed < count) {
        const int index = drawnCell(random_.next());
        if (board_.isMine(index))
            continue;
        board_.showPicture(index, Picture::Mine);
        ++placed;
    }
}

int drawnCell(double r)
{
    // A source that breaks its contract (NaN, 1.0, a huge value) must not reach the integer
    // conversion: keep r inside [0, 1).
    if (!(r >= 0.0))
        r = 0.0;
    if (r >= 1.0)
        r = std::nextafter(1.0, 0.0);
    // Cell number = integer part of the exact r x 225 + 1. The rounded product may land on
    // a whole number k that the exact product stays just below (r one step under k/225):
    // the fused r x 225 - k, rounded once, keeps the sign of the exact difference.
    double whole = std::floor(r * kCells);
    if (std::fma(r, kCells, -whole) < 0.0)
        whole -= 1.0;
    return std::clamp(static_cast<int>(whole), 0, kCells - 1);
}

void Duel::numberCells()
{
    for (int index = 0; index < kCells; ++index) {
        if (board_.isMine(index))
            continue;
        int voisins = 0;
        for (const int n : neighbours(index))
            voisins += board_.isMine(n) ? 1 : 0;
        if (voisins != 0)
            board_.showPicture(index, countPicture(voisins));
    }
}

void Duel::cmdCase_Click(int index, int by)
{
    // Only a covered cell can be clicked, during play and after it alike.
    if (finished_ || question_ || !isCell(index) || !board_.isCovered(index))
        return;
    if (!roundInPlay()) {
        const texts::Message over = texts::roundOver();
        notice(by, over.text, over.title, Then::Play);
        return;
    }

    board_.uncover(index);
    if (board_.isMine(index)) {
        const int points = ++score_[slot(joueur_)];
        view_.showScore(joueur_, texts::scoreCaption(points));
        --bombesRestantes_;
        view_.showMinesLeft(texts::minesLeftCaption(bombesRestantes_));
        // A mine is never blank: nothing opens around it.
        if (bombesRestantes_ == 0)
            endRound();
        return;
    }
    changeJoueur(joueur_);
    if (board_.isBlank(index))
        decouvreAutour(index);
}

void Duel::endRound()
{
    if (score_[0] > score_[1])
        roundWinner_ = 1;
    else if (score_[0] < score_[1])
        roundWinner_ = 2;
    else
        roundWinner_ = 0;
    const texts::Message finished = texts::roundFinished();
    notice(0, finished.text, finished.title, Then::Verdict);
}

void Duel::notice(int player, const QString& text, const QString& title, Then then)
{
    then_ = then;
    ask({Question::Kind::Notice, player, text, title});
}

void Duel::acknowledge()
{
    if (question_.kind != Question::Kind::Notice)
        return;
    question_ = {};
    switch (std::exchange(then_, Then::Play)) {
    case Then::Play:
        view_.settled();
        return;
    case Then::Verdict: {
        const texts::Message verdict =
            roundWinner_ ? texts::roundWonBy(roundWinner_, opponent_) : texts::roundDrawn();
        notice(0, verdict.text, verdict.title, Then::CreditWinner);
        return;
    }
    case Then::CreditWinner:
        if (roundWinner_) {
            const int rounds = ++partiesGagnees_[slot(roundWinner_)];
            view_.showRoundsWon(roundWinner_, texts::roundsWonCaption(rounds));
        }
        changeJoueur(joueur_);
        view_.settled();
        return;
    case Then::Finish:
        finished_ = true;
        view_.ended();
        return;
    }
}

void Duel::changeJoueur(int p)
{
    joueur_ = p == 1 ? 2 : 1;
    view_.showTurn(texts::turnCaption(joueur_, opponent_));
}

void Duel::decouvreAutour(int index)
{
    for (const int n : neighbours(index)) {
        if (!board_.isCovered(n))
            continue;
        board_.uncover(n);
        if (board_.isBlank(n))
            decouvreAutour(n);
    }
}

bool Duel::askNewRound(int by)
{
    if (finished_ || question_)
        return !finished_;
    const texts::Message question = texts::askNewRound();
    ask({Question::Kind::NewRound, by == 2 ? 2 : 1, question.text, question.title});
    return !finished_;
}

bool Duel::askQuit(int by)
{
    by = by == 2 ? 2 : 1;
    // A count that the other player is choosing may be interrupted; any other question
    // waits for its answer first.
    const bool othersCount = question_.kind == Question::Kind::Count && question_.player != by;
    if (finished_ || (question_ && !othersCount))
        return finished_;
    const texts::Message question = texts::askQuit();
    quitFromCount_ = othersCount;
    ask({Question::Kind::Quit, by, question.text, question.title});
    return finished_;
}

void Duel::giveVerdict()
{
    const texts::Message verdict =
        texts::duelVerdict(partiesGagnees_[0], partiesGagnees_[1], opponent_);
    notice(0, verdict.text, verdict.title, Then::Finish);
}

bool Duel::quit(int by)
{
    by = by == 2 ? 2 : 1;
    const bool othersCount = question_.kind == Question::Kind::Count && question_.player != by;
    if (finished_ || (question_ && !othersCount))
        return finished_;
    question_ = {};
    giveVerdict();
    return finished_;
}

void Duel::answer(bool yes)
{
    const Question::Kind kind = question_.kind;
    if (kind != Question::Kind::NewRound && kind != Question::Kind::Quit)
        return;
    const int asked = question_.player;
    question_ = {};
    if (kind == Question::Kind::NewRound) {
        if (yes)
            nouvelleManche(asked);
        else
            view_.settled();
        return;
    }
    if (yes) {
        giveVerdict();
    } else if (quitFromCount_) {
        askCount();
    } else {
        view_.settled();
    }
}

} // namespace volcanelle
