// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/duel.h"
#include "wire/messages.h"

#include <optional>

// What a duel shows, as the messages that show it to a side played from elsewhere: one home
// for the direct host's joiner and the server's sides. A covered cell never carries its
// picture.
namespace volcanelle::remote {

wire::Message coverShown(const Duel& duel, int index, bool covered);
/// Nothing while the cell is covered: its new picture is a secret until its cover is lifted.
std::optional<wire::Message> pictureShown(const Duel& duel, int index, Picture picture);
wire::Message turnShown(const Duel& duel, const QString& caption);
wire::Message scoreShown(int joueur, const QString& caption);
wire::Message roundsWonShown(const Duel& duel, int joueur, const QString& caption);
wire::Message minesLeftShown(const QString& caption);

} // namespace volcanelle::remote
