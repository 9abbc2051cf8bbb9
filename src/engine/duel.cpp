// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/duel.h"

#include "engine/minecount.h"
#include "engine/texts.h"

#include <algorithm>
#include <cmath>

namespace volcanelle {

Duel::Duel(DuelView& view, RandomSource& random, texts::Opponent opponent)
    : view_(view), random_(random), opponent_(opponent), board_(&view)
{
}

bool Duel::startDuel()
{
    partiesGagnees_ = {0, 0};
    joueur_ = 1;
    view_.showTurn(texts::turnCaption(joueur_, opponent_));
    return nouvelleManche();
}

bool Duel::nouvelleManche()
{
    random_.reseed();
    for (int index = 0; index < kCells; ++index) {
        board_.showPicture(index, Picture::Blank);
        board_.cover(index);
    }

    std::optional<MineCount> count;
    while (!count) {
        const std::optional<QString> typed =
            view_.askText(texts::mineCountPrompt(), texts::mineCountTitle());
        if (typed) {
            count = readMineCount(*typed);
            continue;
        }
        // Cancelled: the first time there is nothing to lose and the game simply ends; later
        // on the players leave the way "Quitter" does, or are asked the count again.
        if (!firstRoundReady_ || askQuit())
            return false;
    }
    firstRoundReady_ = true;

    bombesRestantes_ = count->mines;
    view_.showMinesLeft(texts::minesLeftCaption(count->shown));
    score_ = {0, 0};
    view_.showScore(1, texts::scoreCaption(0));
    view_.showScore(2, texts::scoreCaption(0));
    placeMines(count->mines);
    numberCells();
    return true;
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

void Duel::cmdCase_Click(int index)
{
    // Only a covered cell can be clicked, during play and after it alike.
    if (!isCell(index) || !board_.isCovered(index))
        return;
    if (!roundInPlay()) {
        const texts::Message over = texts::roundOver();
        view_.announce(over.text, over.title);
        return;
    }

    board_.uncover(index);
    if (board_.isMine(index)) {
        const int points = ++score_[slot(joueur_)];
        view_.showScore(joueur_, texts::scoreCaption(points));
        --bombesRestantes_;
        view_.showMinesLeft(texts::minesLeftCaption(bombesRestantes_));
        if (bombesRestantes_ == 0)
            endRound();
    } else {
        changeJoueur(joueur_);
    }
    if (board_.isBlank(index))
        decouvreAutour(index);
}

void Duel::endRound()
{
    const texts::Message finished = texts::roundFinished();
    view_.announce(finished.text, finished.title);

    int winner = 0;
    if (score_[0] > score_[1])
        winner = 1;
    else if (score_[0] < score_[1])
        winner = 2;

    const texts::Message verdict =
        winner ? texts::roundWonBy(winner, opponent_) : texts::roundDrawn();
    view_.announce(verdict.text, verdict.title);
    if (winner) {
        const int rounds = ++partiesGagnees_[slot(winner)];
        view_.showRoundsWon(winner, texts::roundsWonCaption(rounds));
    }
    changeJoueur(joueur_);
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

bool Duel::askNewRound()
{
    const texts::Message question = texts::askNewRound();
    return !view_.confirm(question.text, question.title) || nouvelleManche();
}

bool Duel::askQuit()
{
    const texts::Message question = texts::askQuit();
    if (!view_.confirm(question.text, question.title))
        return false;

    const texts::Message verdict =
        texts::duelVerdict(partiesGagnees_[0], partiesGagnees_[1], opponent_);
    view_.announce(verdict.text, verdict.title);
    return true;
}

} // namespace volcanelle
