// SPDX-License-Identifier: GPL-3.0-or-later
#include "seats/computerplayer.h"

#include "engine/visibleboard.h"

#include <cstdio>
#include <random>

namespace volcanelle {

namespace {

constexpr int kDefaultPace = 600;
constexpr int kLongestPace = 60000;

} // namespace

ComputerPlayer::ComputerPlayer(DuelControl& control, int player, Level level, QObject* parent)
    : QObject(parent), control_(control), player_(player), level_(level, std::random_device{}()),
      pace_(paceFromEnvironment())
{
    beat_.setSingleShot(true);
    connect(&beat_, &QTimer::timeout, this, &ComputerPlayer::play);
    control_.setSeat(player_, this);
    control_.addView(this);
}

ComputerPlayer::~ComputerPlayer()
{
    control_.removeView(this);
    if (control_.seat(player_) == this)
        control_.setSeat(player_, nullptr);
}

int ComputerPlayer::paceFromEnvironment()
{
    const QByteArray value = qgetenv("VOLCANELLE_COMPUTER_PACE_MS");
    if (value.isNull())
        return kDefaultPace;
    bool ok = false;
    const int pace = value.trimmed().toInt(&ok);
    if (ok && pace >= 0 && pace <= kLongestPace)
        return pace;
    std::fprintf(stderr,
                 "volcanelle : VOLCANELLE_COMPUTER_PACE_MS doit être un nombre entier de "
                 "millisecondes entre 0 et %d ; « %s » est ignoré, l'ordinateur joue toutes les "
                 "%d ms.\n",
                 kLongestPace, value.constData(), kDefaultPace);
    return kDefaultPace;
}

void ComputerPlayer::wake()
{
    if (!beat_.isActive())
        beat_.start(pace_);
}

void ComputerPlayer::play()
{
    // While the duel waits for an answer the computer waits too; the answer wakes it again.
    const Duel& duel = control_.duel();
    if (!duel.roundInPlay() || !control_.mayClick(player_))
        return;

    const VisibleBoard seen(duel.board(), duel.bombesRestantes());
    const int cell = level_.chooseCell(seen);
    if (cell >= 0)
        control_.play(player_, cell);
}

} // namespace volcanelle
