#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Three real programs: a duel server on 127.0.0.1 and two games on one private virtual X
# display. The first game opens a room, the second joins it by its code (the server is the one
# remembered). Both play with real clicks, the boards compared after each move. The joiner is
# killed mid-round and started again with the same room: it comes back to its side, with the
# same board, scores and turn. Then the server stops: both games say so and end with status 1.
# Usage: online_duel.sh <volcanelle executable> <volcanelle-server executable>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 300 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: online_duel.sh <volcanelle executable> <volcanelle-server executable>}
server=${2:?usage: online_duel.sh <volcanelle executable> <volcanelle-server executable>}
for program in "$game" "$server"; do
    [ -x "$program" ] || { echo "FAIL: no executable at $program" >&2; exit 1; }
done
for tool in Xvfb xauth xdotool import convert; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done

e2e_screen=1200x800x24
# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

# The game programs and the server are this script's own; the rest is xsession.sh's cleanup.
server_pid="" joiner_pid=""
finish() {
    local status=$?
    set +e
    [ -n "$joiner_pid" ] && stop "$joiner_pid"
    [ -n "$server_pid" ] && stop "$server_pid"
    cleanup "$status"
}
trap finish EXIT

run() { # run <log> <arguments...>: a game on the real X platform, its settings in $work
    local log=$1
    shift
    mkdir -p -m 700 "$work/runtime" "$work/config"
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
        LC_ALL=C.UTF-8 "$game" "$@" >"$log" 2>&1 &
}

# Ids of the mapped windows titled <title>, one a line.
windows_titled() {
    xdo search --onlyvisible --name "$(title_pattern "$1")" 2>/dev/null || true
}

# The one mapped window titled <title> that is not <other>, waiting up to <seconds>.
other_window() { # other_window <title> <other> <seconds>
    local start id
    start=$(now)
    until id=$(windows_titled "$1" | grep -vx "$2" | head -n 1) && [ -n "$id" ]; do
        past "$start" "$3" && fail "no second window titled \"$1\" within $3 s; open: $(open_titles)"
        sleep 0.05
    done
    echo "$id"
}

# The players' panels and the turn label, above the buttons: the same captions give the same
# pixels.
panels_of() { # panels_of <window>
    import -window "$1" -crop "160x280+0+$(menu_of "$1")" +repage "$work/panels.png" \
        2>/dev/null || fail "could not capture window $1"
    convert "$work/panels.png" -depth 8 rgb:- | md5sum
}

same_screens() { # same_screens <window> <window> <seconds> <what>
    local start
    start=$(now)
    until [ "$(board_of "$1")" = "$(board_of "$2")" ] && [ "$(panels_of "$1")" = "$(panels_of "$2")" ]; do
        past "$start" "$3" && fail "$4: the two windows still differ after $3 s"
        sleep 0.1
    done
}

cell_xy() { # cell_xy <cell>: the middle of a cell in the client area
    echo "$((kCellLeft + kPitch * ($1 % 15) + 12)) $((kCellTop + kPitch * ($1 / 15) + 12))"
}

# Plays <cells> on both windows in turn (only the side that has the turn plays each), the
# boards compared after each.
play_cells() { # play_cells <cell>...
    local cell
    for cell in "$@"; do
        # shellcheck disable=SC2046 # two numbers
        click_in "$opener" $(cell_xy "$cell")
        # shellcheck disable=SC2046
        click_in "$joiner" $(cell_xy "$cell")
        game_alive && kill -0 "$joiner_pid" 2>/dev/null || fail "a game ended after cell $cell"
        same_screens "$opener" "$joiner" 5 "after cell $cell"
    done
}

# --- The server, on a port the system chooses.
step="starting the server"
"$server" --listen 127.0.0.1 --port 0 2>"$work/server.log" &
server_pid=$!
start=$(now)
until port=$(sed -n 's/^listening on .* port \([0-9]*\)$/\1/p' "$work/server.log") && [ -n "$port" ]; do
    kill -0 "$server_pid" 2>/dev/null || fail "the server ended at start"
    past "$start" 10 && fail "the server gave no port within 10 s"
    sleep 0.05
done

step="opening a room"
run "$work/game.log" --online --server "127.0.0.1:$port"
game_pid=$!
start=$(now)
until room=$(sed -n 's/^Volcanelle : duel en ligne, salle \([A-Z0-9-]*\), joueur 1$/\1/p' "$work/game.log") && [ -n "$room" ]; do
    game_alive || fail "the first game ended at start"
    past "$start" 10 && fail "the first game printed no room within 10 s"
    sleep 0.05
done
title="Volcanelle — duel en ligne, salle $room"
opener=$(wait_for_window "$title" 10)
echo "room $room on port $port"
# The opener is told how the opponent comes in: the code, and the page's link.
invitation=$(wait_for_window "Duel en ligne" 10)
keys_to "$invitation" key Return
wait_for_no_window "Duel en ligne" 5

step="joining the room, the server remembered"
run "$work/joiner.log" --online --room "${room,,}"
joiner_pid=$!
joiner=$(other_window "$title" "$opener" 15)
xdo windowmove --sync "$joiner" 560 0 || fail "could not move the joiner's window"
box=$(wait_for_window "Saisie" 15)
keys_to "$box" type --delay 30 "30"
keys_to "$box" key Return
sleep 0.5

step="playing"
covered=$(board_of "$opener")
same_screens "$opener" "$joiner" 5 "before any move"
play_cells 0 112 224 14 210 97
[ "$(board_of "$opener")" != "$covered" ] || fail "the clicks uncovered nothing"

step="killing the joiner mid-round"
kill -9 "$joiner_pid"
wait "$joiner_pid" 2>/dev/null || true
joiner_pid=""
before_board=$(board_of "$opener")
before_panels=$(panels_of "$opener")
run "$work/joiner2.log" --online --room "$room"
joiner_pid=$!
joiner=$(other_window "$title" "$opener" 15)
xdo windowmove --sync "$joiner" 560 0 || fail "could not move the joiner's window"
grep -q "salle $room, joueur 2" "$work/joiner2.log" || fail "the joiner did not come back as player 2"
same_screens "$opener" "$joiner" 10 "once the joiner came back"
[ "$(board_of "$joiner")" = "$before_board" ] || fail "the board changed across the comeback"
[ "$(panels_of "$joiner")" = "$before_panels" ] || fail "scores or turn changed across the comeback"
echo "the joiner came back to the same duel"
play_cells 30 190 44 180

step="stopping the server"
kill -TERM "$server_pid"
start=$(now)
answered=0 farewells=0
while [ "$answered" -lt 4 ]; do
    # Each side: the verdict so far, then why the duel ends.
    id=$(xdo search --onlyvisible --name "^(Recommencez le duel un autre fois !|Bravo joueur [12] !|Duel en ligne)\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
        [ "$(xdo getwindowname "$id")" = "Duel en ligne" ] && farewells=$((farewells + 1))
        keys_to "$id" key Return
        answered=$((answered + 1))
        sleep 0.3
    fi
    past "$start" 20 && fail "only $answered boxes within 20 s of the server's stop; open: $(open_titles)"
    sleep 0.05
done
start=$(now)
while game_alive || kill -0 "$joiner_pid" 2>/dev/null; do
    past "$start" 15 && fail "a game still runs 15 s after the server's stop; open: $(open_titles)"
    sleep 0.05
done
opener_status=0 joiner_status=0
wait "$game_pid" || opener_status=$?
wait "$joiner_pid" || joiner_status=$?
game_done=1 joiner_pid=""
[ "$opener_status" -eq 1 ] || fail "the opener ended with status $opener_status"
[ "$joiner_status" -eq 1 ] || fail "the joiner ended with status $joiner_status"
[ "$farewells" -eq 2 ] || fail "$farewells sides said that the server stops, not 2"
wait "$server_pid" || fail "the server ended with a failure"
server_pid=""
echo "PASS: the duel resumed after a kill, and the server's stop ended both games with status 1"
