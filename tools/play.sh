#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what playing needs, builds the game alone, and starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/tools/setup.sh" play
exec "$here/build-play/bin/volcanelle" "$@"
