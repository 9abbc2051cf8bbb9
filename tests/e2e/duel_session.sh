#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a short session of the built game on a private virtual X display with real input
# events: types the mine count, clicks a few cells, opens and closes the information window,
# then quits ("Oui"), dismisses the verdict and checks that the program ends with status 0.
# Usage: duel_session.sh <path to the volcanelle executable>
set -euo pipefail

# The whole session must end well within this; the waits below have their own limits.
if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 90 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: duel_session.sh <volcanelle executable>}
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }
for tool in Xvfb xauth xdotool; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done

# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

# --- The game, on the real X platform whatever the caller's environment says.
step="starting the game"
start_game
session_start=$(now)

step="answering the mine count"
box=$(wait_for_window "Saisie" 20)
keys_to "$box" type --delay 30 "45"
keys_to "$box" key Return
wait_for_no_window "Saisie" 5

step="finding the game window"
find_game_window
echo "game window at ($main_x, $main_y), menu bar $menu_height pixels high"
# Its class names the desktop entry (StartupWMClass), so task bars group it with the launcher.
xdo search --onlyvisible --class '^net\.volcanelle\.volcanelle$' 2>/dev/null | grep -qx "$main" ||
    fail "the game window's class is not net.volcanelle.volcanelle"

# A 45-mine round cannot end in a few clicks, and a mine found before the last shows no box:
# the game window must stay the only window.
step="clicking cells"
for cell in 0 112 224 14 210 97; do
    click_client $((kCellLeft + kPitch * (cell % 15) + 12)) \
        $((kCellTop + kPitch * (cell / 15) + 12))
    game_alive || fail "the game ended after a click on cell $cell"
    windows=$(open_titles)
    [ "$windows" = '"Volcanelle"' ] || fail "after a click on cell $cell the windows are: $windows"
done

step="opening the information window"
# shellcheck disable=SC2086 # two numbers
click_client $kAboutButton
about=$(wait_for_window "À propos du démineur" 10)
keys_to "$about" key Escape
wait_for_no_window "À propos du démineur" 5

step="asking to quit"
# shellcheck disable=SC2086
click_client $kQuitButton
question=$(wait_for_window "Quitter ?" 10)
# "Non" is the default button and has the focus; with two buttons, Tab moves it to "Oui"
# whatever their order, and Space presses the button that has the focus.
keys_to "$question" key Tab
keys_to "$question" key space
verdict=$(wait_for_window "Recommencez le duel un autre fois !" 10)

step="closing the verdict"
keys_to "$verdict" key Return
pressed=$(now)
# A bound against a hang, not a speed target: a sanitizer build checks for leaks on its way
# out, which a loaded machine stretches to seconds. The time taken is printed below.
until ! game_alive; do
    past "$pressed" 10 && fail "the game still runs 10 s after the verdict was closed"
    sleep 0.02
done
game_status=0
wait "$game_pid" || game_status=$?
game_done=1
echo "game ended $(elapsed_since "$pressed") s after the verdict, status $game_status"
[ "$game_status" -eq 0 ] || fail "the game ended with status $game_status"

step="done"
echo "PASS: session of $(elapsed_since "$session_start") s"
