// SPDX-License-Identifier: GPL-3.0-or-later
#include "seats/computerplayer.h"

#include "engine/visibleboard.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <random>

namespace volcanelle {

namespace {

constexpr int kDefaultPace = 600;
constexpr int kLongestPace = 60000;
// While a box is open the computer looks again this often, even at pace 0, so that it does
// not spin while the players read.
constexpr int kBoxRecheck = 50;

} // namespace

ComputerPlayer::ComputerPlayer(Duel& duel, const Seats& seats, Level level,
                               std::function<void(int)> click, QObject* parent)
    : QObject(parent), duel_(duel), seats_(seats), level_(level, std::random_device{}()),
      click_(std::move(click)), pace_(paceFromEnvironment())
{
    beat_.setSingleShot(true);
    connect(&beat_, &QTimer::timeout, this, &ComputerPlayer::play);
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
    // The duel's boxes run event loops of their own, so this can fire while one is open.
    const bool boxOpen = QApplication::activeModalWidget() != nullptr;
    if (boxOpen && seats_.mayPlay(Seat::Computer, duel_, false)) {
        beat_.start(std::max(pace_, kBoxRecheck));
        return;
    }
    if (!seats_.mayPlay(Seat::Computer, duel_, boxOpen))
        return;

    const VisibleBoard seen(duel_.board(), duel_.bombesRestantes());
    const int cell = level_.chooseCell(seen);
    if (cell < 0)
        return;
    click_(cell);
    // A mine found keeps the turn: play on after the next beat.
    wake();
}

} // namespace volcanelle
