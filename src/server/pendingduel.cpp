// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/pendingduel.h"

#include "server/servertexts.h"

namespace volcanelle::server {

void PendingDuel::start()
{
    for (int side = 1; side <= 2; ++side)
        outbox_(side, wire::Announce{texts::noDuelYet(), texts::title()});
    over_ = true;
}

} // namespace volcanelle::server
