// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/shown.h"

namespace volcanelle::remote {

wire::Message coverShown(const Duel& duel, int index, bool covered)
{
    const Picture shown = covered ? Picture::None : duel.board().picture(index);
    return wire::Cell{static_cast<std::uint8_t>(index), covered,
                      static_cast<std::uint8_t>(pictureNumber(shown))};
}

std::optional<wire::Message> pictureShown(const Duel& duel, int index, Picture picture)
{
    if (duel.board().isCovered(index))
        return std::nullopt;
    return wire::Cell{static_cast<std::uint8_t>(index), false,
                      static_cast<std::uint8_t>(pictureNumber(picture))};
}

wire::Message turnShown(const Duel& duel, const QString& caption)
{
    return wire::Caption{wire::Caption::Slot::Turn, static_cast<std::uint16_t>(duel.joueur()),
                         caption};
}

wire::Message scoreShown(int joueur, const QString& caption)
{
    return wire::Caption{joueur == 1 ? wire::Caption::Slot::Score1 : wire::Caption::Slot::Score2, 0,
                         caption};
}

wire::Message roundsWonShown(const Duel& duel, int joueur, const QString& caption)
{
    return wire::Caption{joueur == 1 ? wire::Caption::Slot::Won1 : wire::Caption::Slot::Won2,
                         static_cast<std::uint16_t>(duel.partiesGagnees(joueur)), caption};
}

wire::Message minesLeftShown(const QString& caption)
{
    return wire::Caption{wire::Caption::Slot::MinesLeft, 0, caption};
}

} // namespace volcanelle::remote
