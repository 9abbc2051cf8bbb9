// SPDX-License-Identifier: GPL-3.0-or-later
// The duels of the load bench as the game plays them: the opener opens a room, the joiner
// joins it by its code, whoever is asked the count answers 30, and once the round is on each
// side clicks a cell it sees covered on its turn. A round found to its end is followed by a
// new one, which the opener asks for.
#include "loadclient.h"

namespace volcanelle::bench {

namespace {

// A move nobody was shown by then was refused: counted, and the duel goes on.
constexpr std::int64_t kUnansweredUs = 2'000'000;

} // namespace

void LoadClient::onOpen(std::uint32_t duel, int side)
{
    Duel& du = duels_[duel];
    const std::uint32_t id = duel * 2 + static_cast<std::uint32_t>(side);
    events_.push({nowUs() + plan_.pingMs * 1000LL, id, Due::Ping, 0});
    if (side == 0)
        send(du.side[0], id, wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}});
    else
        send(du.side[1], id, wire::Enter{wire::Enter::Action::Join, wire::kVersion, du.room, {}});
}

void LoadClient::onMessage(std::uint32_t duel, int side, const wire::Message& message)
{
    Duel& du = duels_[duel];
    const std::uint32_t id = duel * 2 + static_cast<std::uint32_t>(side);
    if (const auto* entered = std::get_if<wire::Entered>(&message)) {
        // The opener knows the code: the joiner may connect.
        if (side == 0 && du.stage == Stage::Opening) {
            du.room = entered->room;
            du.stage = Stage::Joining;
            connectSide(duel, 1);
        }
    } else if (const auto* refused = std::get_if<wire::Refused>(&message)) {
        fail(duel, std::string(side == 0 ? "opener" : "joiner") + " refused, reason " +
                       std::to_string(static_cast<int>(refused->reason)));
    } else if (std::holds_alternative<wire::Farewell>(message) ||
               std::holds_alternative<wire::Bye>(message)) {
        fail(duel, "duel ended by the server");
    } else if (std::holds_alternative<wire::AskCount>(message)) {
        send(du.side[side], id, wire::Count{true, QStringLiteral("30")});
    } else if (const auto* caption = std::get_if<wire::Caption>(&message); caption && side == 0) {
        if (caption->slot == wire::Caption::Slot::Turn) {
            du.turn = caption->value == 2 ? 1 : 0;
        } else if (caption->slot == wire::Caption::Slot::MinesLeft) {
            du.begun = !caption->text.startsWith(QLatin1String("0 "));
            if (!du.begun) {
                // The round is found out: the opener asks for the next one.
                du.open.reset();
                send(du.side[0], duel * 2, wire::NewRound{});
            } else if (du.stage == Stage::Joining) {
                du.stage = Stage::Playing;
                --settingUp_;
                ++tally_.began;
            }
        }
    } else if (const auto* cell = std::get_if<wire::Cell>(&message)) {
        if (side == 0 && cell->index < wire::kCellCount)
            du.open[cell->index] = !cell->covered;
        if (!cell->covered && cell->index == du.cell && du.sentAt >= 0) {
            du.seen |= static_cast<std::uint8_t>(1 << side);
            if (du.seen == 3) {
                if (du.sentAt >= measureFrom_ && du.sentAt < measureTo_)
                    tally_.latenciesUs.push_back(static_cast<std::uint32_t>(nowUs() - du.sentAt));
                du.sentAt = -1;
            }
        }
    }
}

void LoadClient::move(std::uint32_t duel, std::int64_t now)
{
    Duel& du = duels_[duel];
    if (du.stage == Stage::Failed)
        return;
    // Between rounds, or with a move in flight, the duel tries again shortly.
    if (du.stage != Stage::Playing || !du.begun || du.sentAt >= 0) {
        events_.push({now + 1000, duel, Due::Move, 0});
        return;
    }
    int next = du.cell;
    for (std::size_t step = 0; step < wire::kCellCount && du.open[static_cast<std::size_t>(next)];
         ++step)
        next = (next + 1) % static_cast<int>(wire::kCellCount);
    du.cell = static_cast<std::uint8_t>(next);
    du.sentAt = now;
    du.seen = 0;
    send(du.side[du.turn], duel * 2 + static_cast<std::uint32_t>(du.turn), wire::Click{du.cell});
    if (now >= measureFrom_ && now < measureTo_)
        ++tally_.moves;
    events_.push({now + kUnansweredUs, duel, Due::MoveLate, now});
    du.nextAt += intervalUs_;
    events_.push({std::max(du.nextAt, now), duel, Due::Move, 0});
}

} // namespace volcanelle::bench
