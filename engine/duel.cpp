#include "duel.h"

#include "minecount.h"
#include "texts.h"

#include <algorithm>
#include <cmath>

namespace volcanelle {

Duel::Duel(DuelView& view, RandomSource& random) : view_(view), random_(random), board_(&view) {}

bool Duel::startDuel()
{
    partiesGagnees_ = {0, 0};
    joueur_ = 1;
    view_.showTurn(texts::turnCaption(joueur_));
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
        if (!typed && !firstRoundReady_)
            return false;
        if (typed)
            count = readMineCount(*typed);
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
        // Cell numbers run from 1 to 225; computed in double so that the largest r below 1
        // still gives 225. The clamp only guards against a source that breaks its contract.
        const double tirage = std::floor(random_.next() * kCells + 1.0);
        const int index = std::clamp(static_cast<int>(tirage), 1, kCells) - 1;
        if (board_.isMine(index))
            continue;
        board_.showPicture(index, Picture::Mine);
        ++placed;
    }
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
    if (!roundInPlay()) {
        const texts::Message over = texts::roundOver();
        view_.announce(over.text, over.title);
        return;
    }
    if (!isCell(index) || !board_.isCovered(index))
        return;

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

    const texts::Message verdict = winner ? texts::roundWonBy(winner) : texts::roundDrawn();
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
    view_.showTurn(texts::turnCaption(joueur_));
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

void Duel::askNewRound()
{
    const texts::Message question = texts::askNewRound();
    if (view_.confirm(question.text, question.title))
        nouvelleManche();
}

bool Duel::askQuit()
{
    const texts::Message question = texts::askQuit();
    if (!view_.confirm(question.text, question.title))
        return false;

    const int first = partiesGagnees_[0];
    const int second = partiesGagnees_[1];
    const texts::Message verdict = first > second   ? texts::duelWonBy(1)
                                   : first < second ? texts::duelWonBy(2)
                                                    : texts::duelDrawn();
    view_.announce(verdict.text, verdict.title);
    return true;
}

} // namespace volcanelle
