#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How long a new player waits: clones this repository's current commit into a scratch folder
# and times the play command up to the mine-count box ("Saisie") on a private virtual display,
# then times the test command's set-up and suite (tools/setup.sh test, then ctest) in the same
# clone. The Debian packages must already be installed; the compiler cache is turned off, as
# on a machine that never built the project.
#
#   bench/time-to-play.sh [--play-only] [BUILD_DIR]
#
# mapwatch is taken from BUILD_DIR/bench (default build/). Processor times are printed beside
# the elapsed ones: on a shared, loaded machine they tell what a quiet one would take.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
play_only=
if [ "${1:-}" = "--play-only" ]; then
    play_only=1
    shift
fi
build=$(cd "${1:-$here/build}" && pwd)
mapwatch=$build/bench/mapwatch
[ -x "$mapwatch" ] || { echo "missing $mapwatch: build the project first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

git clone -q "$here" "$work/clone"
export CCACHE_DISABLE=1 HOME=$work/home XDG_RUNTIME_DIR=$work/run LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR

# A private display: a fresh cookie, so that no one else can connect to it.
export XAUTHORITY=$work/Xauthority
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null # the server reads every entry
Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -noreset -screen 0 1280x1024x24 \
    3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 500); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    sleep 0.02
done
grep -q '^[0-9][0-9]*$' "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie" 2>/dev/null # the clients look theirs up

# mapwatch ends the game once its box is up; the build's output goes to a log of its own.
"$mapwatch" --title Saisie --timeout 1800 -- \
    bash -c 'exec "$0" >"$1" 2>&1' "$work/clone/tools/play.sh" "$work/play.log" >"$work/play.time" ||
    { cat "$work/play.log"; echo "no mine-count box" >&2; exit 1; }
awk '{ printf "play command to the mine-count box: %.1f s\n", $1 / 1000 }' "$work/play.time"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# The processor time of the play command's build, from a clean build folder again: the game
# process that mapwatch ends does not pass its children's time on.
TIMEFORMAT="play build again, for its processor time: %R s elapsed, %U s user + %S s system"
cmake --build "$work/clone/build-play" --target clean >/dev/null
time cmake --build "$work/clone/build-play" --target volcanelle >/dev/null
[ -n "$play_only" ] && exit 0

TIMEFORMAT="test command's set-up, build and suite: %R s elapsed, %U s user + %S s system"
time {
    "$work/clone/tools/setup.sh" test >/dev/null
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$work/clone/build" -j2 >"$work/ctest.log" 2>&1 ||
        { tail -n 30 "$work/ctest.log"; echo "the suite failed" >&2; exit 1; }
}
grep -o '[0-9]*% tests passed, [0-9]* tests failed out of [0-9]*' "$work/ctest.log"
echo "on $(nproc) cores; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
