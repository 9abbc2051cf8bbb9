// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volcanelle {

/// Replaces this process with the network play, a program of its own so that a plain start
/// loads no network library. It is looked for next to this program (the build tree), then at
/// its installed place. Given the same arguments, it reads them again and hosts or joins.
/// Returns only when it cannot be started, after printing why: the exit status, 1.
int startNetworkPlay(char* argv[]);

} // namespace volcanelle
