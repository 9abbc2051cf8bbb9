#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The board as a screen reader reads it: the built game on a private virtual X display and a
# private D-Bus session with its own accessibility bus, read through AT-SPI by
# atspi_board.py. Everything started here is stopped here.
# Usage: atspi_board.sh <path to the volcanelle executable>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 90 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: atspi_board.sh <volcanelle executable>}
reader="$(dirname "$0")/atspi_board.py"
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }
for tool in Xvfb xauth xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "FAIL: python3-pyatspi is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }

# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

step="reading the board through AT-SPI"
mkdir -p -m 700 "$work/runtime"
# Inside the private session: the accessibility bus first (activated by a first query), then
# the game with Qt's bridge on, then the reader. A game that ends first ends the reading; the
# game is stopped whatever the outcome, and its output is the cleanup's to show.
GAME="$game" READER="$reader" GAME_LOG="$work/game.log" XDG_RUNTIME_DIR="$work/runtime" \
    LC_ALL=C.UTF-8 dbus-run-session -- bash -c '
        timeout 15 /usr/bin/python3 -c "import pyatspi; pyatspi.Registry.getDesktop(0)" ||
            { echo "FAIL: the accessibility bus did not start" >&2; exit 1; }
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$GAME" >"$GAME_LOG" 2>&1 &
        game_pid=$!
        timeout 45 /usr/bin/python3 "$READER" &
        reader_pid=$!
        status=0
        wait -n -p ended "$game_pid" "$reader_pid" || status=$?
        if [ "$ended" = "$game_pid" ]; then
            echo "FAIL: the game ended with status $status while being read" >&2
            kill "$reader_pid" 2>/dev/null
            wait "$reader_pid" 2>/dev/null
            exit 1
        fi
        kill "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
        [ "$status" -ne 124 ] || echo "FAIL: the reader got no answer within 45 s" >&2
        exit "$status"
    ' 2> >(grep -v "dbus-daemon\|SpiRegistry\|XDG_RUNTIME" >&2)
