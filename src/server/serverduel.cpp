// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/serverduel.h"

#include "engine/texts.h"

namespace volcanelle::server {

ServerDuel::ServerDuel(Outbox outbox)
    : ServerDuel(std::move(outbox), std::make_unique<SystemRandom>(), nullptr)
{
}

ServerDuel::ServerDuel(Outbox outbox, RandomSource& random)
    : ServerDuel(std::move(outbox), nullptr, &random)
{
}

ServerDuel::ServerDuel(Outbox outbox, std::unique_ptr<RandomSource> own, RandomSource* random)
    : ownRandom_(std::move(own)), control_(random ? *random : *ownRandom_)
{
    for (int player = 1; player <= 2; ++player)
        sides_[static_cast<std::size_t>(player - 1)] = std::make_unique<remote::RemoteSide>(
            control_, player,
            [outbox, player](const wire::Message& message) { return outbox(player, message); });
}

ServerDuel::~ServerDuel() = default;

void ServerDuel::start()
{
    if (!stopped_)
        control_.duel().startDuel();
}

void ServerDuel::receive(int from, const wire::Message& message)
{
    if (over() || (from != 1 && from != 2))
        return;
    const Question& question = control_.duel().question();
    const bool leaves =
        std::holds_alternative<wire::Quit>(message) || std::holds_alternative<wire::Bye>(message);
    // Leaving from the very first count ends the duel with no notice of its own: the
    // sides are told the verdict here.
    if (leaves && !side(from).inPlay() && question.kind == Question::Kind::Count &&
        question.player == from)
        giveVerdict();
    side(from).receive(message);
}

void ServerDuel::replay(int to, std::uint32_t boxesSeen)
{
    if (to == 1 || to == 2)
        side(to).replay(boxesSeen);
}

void ServerDuel::stop()
{
    if (over())
        return;
    giveVerdict();
    stopped_ = true;
}

void ServerDuel::giveVerdict()
{
    const Duel& duel = control_.duel();
    const texts::Message verdict =
        texts::duelVerdict(duel.partiesGagnees(1), duel.partiesGagnees(2));
    for (int player = 1; player <= 2; ++player)
        side(player).tell(verdict.text, verdict.title);
}

} // namespace volcanelle::server
