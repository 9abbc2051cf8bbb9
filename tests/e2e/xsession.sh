# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the end-to-end scripts: a private virtual X display, the game started on it, and
# bounded xdotool helpers to find, wait for and drive its windows. Source it after setting
# `game` (the executable), and `e2e_screen` for a screen other than 1024x768x24; it sets
# DISPLAY and XAUTHORITY and cleans up on exit, and `step`
# names what a failure interrupted.
# shellcheck shell=bash

# The client area is 547 x 426 pixels under the menu bar; the board's first cell is 25 pixels
# square with its top-left corner at (168, 24), one cell every 24 pixels.
readonly kClientWidth=547 kClientHeight=426
readonly kCellLeft=168 kCellTop=24 kPitch=24
readonly kNewRoundButton="72 292" kAboutButton="72 324" kQuitButton="72 356"

work=$(mktemp -d)
xvfb_pid="" game_pid="" game_done=""
step="starting"

# Ends one of our own children: politely, then by force after two seconds.
stop() { # stop <pid>
    local pid=$1 tries=0
    kill "$pid" 2>/dev/null || return 0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 40 ]; do
        sleep 0.05
        tries=$((tries + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; fi
    wait "$pid" 2>/dev/null || true
}

# The EXIT trap, or the last call of a script's own trap, which passes the status: stops what
# was started, prints why on failure, removes the work folder. Nothing here may end the
# script before that, so errexit is off from its first line.
cleanup() { # cleanup [status]
    local status=${1:-$?} log
    set +e
    trap - EXIT INT TERM
    [ -n "$game_pid" ] && [ -z "$game_done" ] && stop "$game_pid"
    [ -n "$xvfb_pid" ] && stop "$xvfb_pid"
    if [ "$status" -ne 0 ]; then
        [ "$status" -eq 124 ] && step="$step (time limit reached)"
        echo "FAIL while: $step" >&2
        # Every program's output: game.log, xvfb.log and whatever else a script logs here.
        for log in "$work"/*.log; do
            [ -s "$log" ] && { echo "--- ${log##*/} :" >&2; cat "$log" >&2; }
        done
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 124' INT TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every xdotool call is bounded: --sync waits forever when a window goes away.
xdo() {
    timeout 5 xdotool "$@"
}

# Seconds since the epoch with fractions, for the limits below.
now() {
    date +%s.%N
}
elapsed_since() {
    awk -v start="$1" -v end="$(now)" 'BEGIN { printf "%.2f", end - start }'
}
past() { # past <start> <seconds>
    awk -v start="$1" -v end="$(now)" -v limit="$2" 'BEGIN { exit !(end - start > limit) }'
}

# The pattern for a window titled exactly <title> ("?" and "!" are taken literally).
title_pattern() {
    # shellcheck disable=SC2001 # a bracket class is clearer in sed than in ${//}
    printf '^%s$' "$(sed 's/[][\.*^$?+(){}|]/\\&/g' <<<"$1")"
}

# Prints the id of the one mapped window titled <title>, waiting up to <seconds>.
wait_for_window() { # wait_for_window <title> <seconds>
    local pattern start ids shown
    pattern=$(title_pattern "$1")
    start=$(now)
    while :; do
        ids=$(xdo search --onlyvisible --name "$pattern" 2>/dev/null || true)
        if [ -n "$ids" ]; then
            [ "$(wc -l <<<"$ids")" -eq 1 ] || fail "more than one window titled \"$1\""
            # The search also matches the old WM_NAME; the title bar shows _NET_WM_NAME.
            shown=$(xdo getwindowname "$ids" 2>/dev/null || true)
            [ "$shown" = "$1" ] || fail "the window \"$1\" shows the title \"$shown\""
            echo "$ids"
            return
        fi
        game_alive || fail "the game ended while waiting for \"$1\""
        past "$start" "$2" && fail "no window titled \"$1\" within $2 s; open: $(open_titles)"
        sleep 0.05
    done
}

wait_for_no_window() { # wait_for_no_window <title> <seconds>
    local pattern start
    pattern=$(title_pattern "$1")
    start=$(now)
    while xdo search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
        past "$start" "$2" && fail "the window \"$1\" is still open after $2 s"
        sleep 0.05
    done
}

# Titles of every mapped window that has one, for messages and checks.
open_titles() {
    local id titles=()
    for id in $(xdo search --onlyvisible --name '.' 2>/dev/null || true); do
        titles+=("\"$(xdo getwindowname "$id" 2>/dev/null || true)\"")
    done
    echo "${titles[*]:-none}"
}

game_alive() {
    kill -0 "$game_pid" 2>/dev/null
}

# Gives <window> the keyboard focus (there is no window manager to do it), then sends keys.
keys_to() { # keys_to <window> <xdotool key arguments...>
    local window=$1
    shift
    xdo windowfocus --sync "$window" || fail "could not focus window $window"
    sleep 0.1
    xdo "$@" || fail "xdotool $* failed"
}

# Clicks at a point of the game window's client area (below the menu bar).
click_client() { # click_client <x> <y>
    local x=$(($1 + main_x)) y=$(($2 + main_y + menu_height))
    xdo mousemove --sync "$x" "$y" || fail "could not move the pointer to ($x, $y)"
    sleep 0.05
    xdo click 1 || fail "could not click at ($x, $y)"
    sleep 0.15
}

# Starts the game on the real X platform, whatever the caller's environment says; its output
# goes to $work/game.log, reported when the script fails.
start_game() {
    game_done=""
    mkdir -p -m 700 "$work/runtime"
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" LC_ALL=C.UTF-8 \
        "$game" >"$work/game.log" 2>&1 &
    game_pid=$!
}

# Waits for the game window and sets `main` (its id), `main_x`, `main_y` and `menu_height`,
# which click_client needs.
find_game_window() {
    main=$(wait_for_window "Volcanelle" 10)
    geometry=$(xdo getwindowgeometry --shell "$main") || fail "no geometry for the game window"
    field() { sed -n "s/^$1=//p" <<<"$geometry"; }
    main_x=$(field X) main_y=$(field Y) main_width=$(field WIDTH) main_height=$(field HEIGHT)
    [ "$main_width" -eq "$kClientWidth" ] ||
        fail "the game window is $main_width pixels wide, not $kClientWidth"
    menu_height=$((main_height - kClientHeight))
    if [ "$menu_height" -lt 10 ] || [ "$menu_height" -gt 60 ]; then
        fail "unlikely menu bar height $menu_height (window $main_width x $main_height)"
    fi
}

# --- A private display, with a fresh cookie so that no one else can connect to it.
step="starting Xvfb"
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
export XAUTHORITY="$work/Xauthority"
xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null # the server reads every entry
# -noreset: by default the server resets when its last client leaves, and a client that
# connects during the reset is turned away.
Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -noreset -screen 0 "${e2e_screen:-1024x768x24}" \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
start=$(now)
until grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb stopped at start"
    past "$start" 10 && fail "Xvfb gave no display number within 10 s"
    sleep 0.05
done
display_number=$(cat "$work/display")
xauth -q -f "$XAUTHORITY" add ":$display_number" . "$cookie" 2>/dev/null
export DISPLAY=":$display_number"
xdo getmouselocation >/dev/null || fail "cannot connect to display $DISPLAY"
echo "display $DISPLAY"

# For scripts that drive two game windows, each found by its id.
menu_of() { # menu_of <window>: the menu bar's height, from the window's height
    local height
    height=$(xdo getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
    echo $((height - kClientHeight))
}

click_in() { # click_in <window> <x> <y>, in the client area below the menu bar
    local x y geometry
    geometry=$(xdo getwindowgeometry --shell "$1")
    x=$(($2 + $(sed -n 's/^X=//p' <<<"$geometry")))
    y=$(($3 + $(sed -n 's/^Y=//p' <<<"$geometry") + $(menu_of "$1")))
    xdo mousemove --sync "$x" "$y" || fail "could not move the pointer to ($x, $y)"
    sleep 0.05
    xdo click 1 || fail "could not click at ($x, $y)"
    sleep 0.1
}

# One line per cell: the mean colour of its middle, away from any focus frame, so that two
# windows showing the same covers and pictures give the same text.
board_of() { # board_of <window>
    import -window "$1" -crop "360x360+$kCellLeft+$((kCellTop + $(menu_of "$1")))" +repage \
        "$work/board.png" 2>/dev/null || fail "could not capture window $1"
    convert "$work/board.png" -crop 24x24 +repage -crop 12x12+6+6 +repage -scale '1x1!' -depth 8 txt:- |
        grep -v '^#' | sed 's/^[^ ]* *//'
}
