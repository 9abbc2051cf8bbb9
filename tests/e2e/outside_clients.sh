#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Another X client takes the game's windows away. Destroyed (xdotool windowclose), the first
# mine-count box, the game window and a later modal box each end as their close box would:
# the first box and the game window end the program with status 0; the "Quitter ?" box
# answers "Non" and the game goes on. Unmapped (xdotool windowunmap), a later mine-count box
# comes back, so that the players can answer it. Minimised under a window manager that unmaps
# minimised windows (played by the minimiser helper), the game window stays away.
# Usage: outside_clients.sh <volcanelle executable> <minimiser helper>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 180 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: outside_clients.sh <volcanelle executable> <minimiser helper>}
minimiser=${2:?usage: outside_clients.sh <volcanelle executable> <minimiser helper>}
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }
[ -x "$minimiser" ] || { echo "FAIL: no executable at $minimiser" >&2; exit 1; }
for tool in Xvfb xauth xdotool xwininfo; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done

# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

# Waits up to <seconds> for the game to end, and requires status 0. A bound against a hang:
# a sanitizer build checks for leaks on its way out.
expect_game_end() { # expect_game_end <seconds>
    local start status=0
    start=$(now)
    while game_alive; do
        past "$start" "$1" && fail "the game still runs $1 s later; open: $(open_titles)"
        sleep 0.05
    done
    wait "$game_pid" || status=$?
    game_done=1
    [ "$status" -eq 0 ] || fail "the game ended with status $status"
}

answer_box() { # answer_box <mine count>
    local box
    box=$(wait_for_window "Saisie" 20)
    keys_to "$box" type --delay 30 "$1"
    keys_to "$box" key Return
    wait_for_no_window "Saisie" 5
}

step="destroying the first mine-count box"
start_game
box=$(wait_for_window "Saisie" 20)
xdo windowclose "$box" || fail "xdotool could not destroy the box"
expect_game_end 15

step="destroying the game window"
start_game
answer_box 45
find_game_window
xdo windowclose "$main" || fail "xdotool could not destroy the game window"
expect_game_end 15

step="destroying the quit question"
start_game
answer_box 45
find_game_window
# shellcheck disable=SC2086 # two numbers
click_client $kQuitButton
question=$(wait_for_window "Quitter ?" 10)
xdo windowclose "$question" || fail "xdotool could not destroy the question"
wait_for_no_window "Quitter ?" 5
sleep 0.3
game_alive || fail "the game ended when its question was destroyed"
windows=$(open_titles)
[ "$windows" = '"Volcanelle"' ] || fail "after the question was destroyed the windows are: $windows"
xdo windowclose "$main" || fail "xdotool could not destroy the game window"
expect_game_end 15

step="unmapping a later mine-count box"
start_game
answer_box 45
find_game_window
# shellcheck disable=SC2086 # two numbers
click_client $kNewRoundButton
question=$(wait_for_window "Nouvelle manche ?" 10)
keys_to "$question" key Tab
keys_to "$question" key space
box=$(wait_for_window "Saisie" 10)
xdo windowunmap "$box" || fail "xdotool could not unmap the box"
answer_box 30
sleep 0.3
windows=$(open_titles)
[ "$windows" = '"Volcanelle"' ] || fail "after the second count the windows are: $windows"
xdo windowclose "$main" || fail "xdotool could not destroy the game window"
expect_game_end 15

map_state() { # map_state <window>
    xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: //p'
}

step="minimising the game window"
start_game
answer_box 45
find_game_window
# The helper ends with the display if this script fails.
"$minimiser" >"$work/minimiser.log" 2>&1 &
minimiser_pid=$!
start=$(now)
until grep -q '^ready$' "$work/minimiser.log"; do
    kill -0 "$minimiser_pid" 2>/dev/null || fail "the minimiser ended: $(cat "$work/minimiser.log")"
    past "$start" 5 && fail "the minimiser was not ready within 5 s"
    sleep 0.05
done
xdo windowminimize "$main" || fail "xdotool could not minimise the game window"
start=$(now)
until [ "$(map_state "$main")" = IsUnMapped ]; do
    past "$start" 5 && fail "the minimised game window is still mapped after 5 s"
    sleep 0.05
done
# Well past the time the game gives a window manager to say that a window is minimised.
sleep 1.5
[ "$(map_state "$main")" = IsUnMapped ] || fail "the minimised game window was mapped again"
game_alive || fail "the game ended when its window was minimised"
stop "$minimiser_pid"
xdo windowmap "$main" || fail "xdotool could not restore the game window"
xdo windowclose "$main" || fail "xdotool could not destroy the game window"
expect_game_end 15

step="done"
echo "PASS"
