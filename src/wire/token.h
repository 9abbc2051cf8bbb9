// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The tokens with which a side comes back to its duel after losing its connection: whoever
// holds the duel draws one per side and lets back only the connection that shows it.
namespace volcanelle::wire {

/// kTokenSize bytes from the system's cryptographic generator.
QByteArray drawToken();

/// Whether `given` is `token`, comparing every byte whatever the first difference, so that
/// the time taken tells nothing. An empty token matches nothing.
bool sameToken(const QByteArray& token, const QByteArray& given);

} // namespace volcanelle::wire
