#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's platform failing under the game: platforms that cannot open a screen, and the X
# connection taken away by another client (xdotool windowkill) while the first box waits.
# Each must end with a French sentence and status 1, never an abort or Qt's English.
# Usage: lost_display.sh <path to the volcanelle executable>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 60 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: lost_display.sh <volcanelle executable>}
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }

# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

readonly head="Volcanelle a besoin d'un affichage graphique : "

# Platforms that start but find no screen here: no frame buffer, no DRM device; and a
# Wayland socket that nobody answers on, with no X display to fall back on.
mkdir -p -m 700 "$work/runtime"
: >"$work/runtime/wayland-dead"
for setting in QT_QPA_PLATFORM=linuxfb QT_QPA_PLATFORM=eglfs WAYLAND_DISPLAY=wayland-dead; do
    step="starting with $setting"
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$setting" \
        XDG_RUNTIME_DIR="$work/runtime" timeout 10 "$game" >"$work/game.log" 2>&1 || status=$?
    [ "$status" -eq 1 ] || fail "status $status instead of 1"
    first=$(head -n 1 "$work/game.log")
    [[ "$first" == "$head"* ]] || fail "the first line is not the French sentence: $first"
    [ "$(wc -l <"$work/game.log")" -eq 1 ] || fail "more than the French sentence was written"
done

step="killing the game's X connection while the first box waits"
start_game
box=$(wait_for_window "Saisie" 10)
xdo windowkill "$box" || fail "xdotool windowkill failed"
start=$(now)
while game_alive; do
    past "$start" 10 && fail "the game still runs 10 s after losing its display"
    sleep 0.05
done
status=0
wait "$game_pid" || status=$?
game_done=1
[ "$status" -eq 1 ] || fail "the game ended with status $status instead of 1"
grep -q "la connexion avec l'affichage X11 est rompue" "$work/game.log" ||
    fail "no French sentence for the lost display"
if grep -q 'X11 connection broke' "$work/game.log"; then
    fail "Qt's English message was written"
fi
echo "every platform failure told in French, status 1"
