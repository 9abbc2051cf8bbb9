// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/address.h"
#include "net/joinattempt.h"

#include <optional>

namespace volcanelle {

/// What the joiner's player is told when the host at `address` did not let them in.
/// What the player is told when the link with the other side ends for `loss`.
QString lossText(net::Link::Loss loss);

QString joinFailureText(net::JoinAttempt::Failure reason, int theirVersion, const QString& address);

/// Hosts a network duel on `port` (0: one the system chooses) in the running application:
/// shows the game window with its code and waits for the opponent. Returns the program's exit
/// status once the duel is over.
int hostDuel(quint16 port);

/// Joins the host at `endpoint` with `code`, asking the player for whichever is missing.
/// Returns the program's exit status: non-zero when the host could not be reached or
/// refused the code.
int joinDuel(std::optional<net::Endpoint> endpoint, std::optional<quint32> code);

} // namespace volcanelle
