#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/tools/setup.sh"
exec "$here/build/app/volcanelle" "$@"
