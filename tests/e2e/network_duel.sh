#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two real programs on one private virtual X display: a host and a joiner on 127.0.0.1. First
# a joiner with a wrong code and one with nobody to join are refused in a box. Then plays
# a few moves with real clicks on both windows in turn, checks after each that both boards
# look the same, then quits from the joiner and checks that both programs end with status 0.
# Usage: network_duel.sh <path to the volcanelle executable>
set -euo pipefail

# Room for a sanitizer build on a loaded machine, where each screen capture takes seconds;
# the waits below have their own limits.
if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 240 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: network_duel.sh <volcanelle executable>}
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }
for tool in Xvfb xauth xdotool import convert; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done

# Wide enough for the two windows side by side.
e2e_screen=1200x800x24
# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

# The joiner is this script's own; the rest, with every log, is xsession.sh's cleanup.
joiner_pid="" joiner_done=""
finish() {
    local status=$?
    set +e
    [ -n "$joiner_pid" ] && [ -z "$joiner_done" ] && stop "$joiner_pid"
    cleanup "$status"
}
trap finish EXIT

run() { # run <log> <arguments...>: the game on the real X platform, in the background
    local log=$1
    shift
    mkdir -p -m 700 "$work/runtime"
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" LC_ALL=C.UTF-8 \
        "$game" "$@" >"$log" 2>&1 &
}

# The id of the one mapped window titled <title>, waiting up to <seconds>, whichever program
# shows it.
window_titled() { # window_titled <title> <seconds>
    local pattern start ids
    pattern=$(title_pattern "$1")
    start=$(now)
    until ids=$(xdo search --onlyvisible --name "$pattern" 2>/dev/null) && [ -n "$ids" ]; do
        past "$start" "$2" && fail "no window titled \"$1\" within $2 s; open: $(open_titles)"
        sleep 0.05
    done
    [ "$(wc -l <<<"$ids")" -eq 1 ] || fail "more than one window titled \"$1\""
    echo "$ids"
}

# --- The host, on a port the system chooses; it prints its code and port.
step="starting the host"
run "$work/game.log" --host --port 0
game_pid=$!
start=$(now)
until grep -q 'code [0-9]\{6\}, port [0-9]' "$work/game.log" 2>/dev/null; do
    game_alive || fail "the host ended at start"
    past "$start" 10 && fail "the host printed no code and port within 10 s"
    sleep 0.05
done
read -r code port < <(sed -n 's/.*code \([0-9]\{6\}\), port \([0-9]*\).*/\1 \2/p' "$work/game.log")
host=$(window_titled "Volcanelle — duel en réseau, code $code" 10)
echo "host waits on port $port with code $code"

# A joiner that is refused is told so in a box, and ends with status 1 once it is answered;
# the host goes on waiting.
refused() { # refused <message> <join arguments...>
    local message=$1 box status=0
    shift
    step="joining with $*"
    run "$work/refused.log" --join "$@"
    joiner_pid=$!
    box=$(window_titled "Duel en réseau" 15)
    keys_to "$box" key Return
    wait "$joiner_pid" || status=$?
    joiner_pid=""
    [ "$status" -eq 1 ] || fail "the refused joiner ($*) ended with status $status"
    echo "refused as expected: $message"
}
wrong=$(printf '%06d' $(((10#$code + 1) % 1000000)))
refused "wrong code" "127.0.0.1:$port" --code "$wrong"
refused "nobody there" "127.0.0.1:1" --code "$code"
game_alive || fail "the host ended after a refused joiner"

step="joining"
run "$work/joiner.log" --join "127.0.0.1:$port" --code "$code"
joiner_pid=$!
box=$(window_titled "Saisie" 15)
keys_to "$box" type --delay 30 "30"
keys_to "$box" key Return
joiner=$(window_titled "Volcanelle — duel en réseau" 10)
# Side by side: without a window manager both would open at the same place.
xdo windowmove --sync "$joiner" 560 0 || fail "could not move the joiner's window"
sleep 0.5

step="playing"
covered=$(board_of "$host")
[ "$covered" = "$(board_of "$joiner")" ] || fail "the boards differ before any move"
# The same cell on both windows in turn: only the side that has the turn plays it.
for cell in 0 112 224 14 210 97 30 190; do
    x=$((kCellLeft + kPitch * (cell % 15) + 12)) y=$((kCellTop + kPitch * (cell / 15) + 12))
    click_in "$host" "$x" "$y"
    click_in "$joiner" "$x" "$y"
    game_alive && kill -0 "$joiner_pid" 2>/dev/null || fail "a program ended after cell $cell"
    start=$(now)
    until [ "$(board_of "$host")" = "$(board_of "$joiner")" ]; do
        past "$start" 3 && fail "after cell $cell the two boards still differ"
        sleep 0.1
    done
done
[ "$(board_of "$host")" != "$covered" ] || fail "the clicks uncovered nothing"

step="quitting from the joiner"
# shellcheck disable=SC2086 # two numbers
click_in "$joiner" $kQuitButton
question=$(window_titled "Quitter ?" 10)
keys_to "$question" key Tab
keys_to "$question" key space
start=$(now)
for side in host joiner; do
    # Both verdicts carry the same title; answer them one after the other.
    until id=$(xdo search --onlyvisible --name "^(Recommencez le duel un autre fois !|Bravo joueur [12] !)\$" 2>/dev/null | head -n 1) && [ -n "$id" ]; do
        past "$start" 10 && fail "no verdict for the $side within 10 s; open: $(open_titles)"
        sleep 0.05
    done
    keys_to "$id" key Return
    sleep 0.3
done

step="waiting for both programs to end"
start=$(now)
# Bounds against a hang; a sanitizer build checks for leaks on its way out.
while game_alive || kill -0 "$joiner_pid" 2>/dev/null; do
    past "$start" 15 && fail "a program still runs 15 s after the verdicts; open: $(open_titles)"
    sleep 0.05
done
host_status=0 joiner_status=0
wait "$game_pid" || host_status=$?
wait "$joiner_pid" || joiner_status=$?
game_done=1 joiner_done=1
[ "$host_status" -eq 0 ] || fail "the host ended with status $host_status"
[ "$joiner_status" -eq 0 ] || fail "the joiner ended with status $joiner_status"
echo "PASS: both ended with status 0"
