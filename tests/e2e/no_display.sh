#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the built game where no window can open: it must say in French what is missing and
# end with status 1, before Qt would abort or crash. Help and version need no display at all.
# Usage: no_display.sh <path to the volcanelle executable>
set -uo pipefail

# Bounded below the test's own limit, so that the trap below always runs and stops Xvfb.
if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 50 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: no_display.sh <volcanelle executable>}
failures=0
xvfb_pid="" work=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; wait; [ -z "$work" ] || rm -rf "$work"' EXIT
trap 'echo "FAIL: time limit reached" >&2; exit 124' INT TERM

# expect <status> <exact standard error> <env arguments...> -- <game arguments...>
expect() {
    local status=$1 message=$2
    shift 2
    local settings=()
    while [ "$1" != "--" ]; do settings+=("$1"); shift; done
    shift
    local err got
    err=$(timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" \
        "$game" "$@" 2>&1 >/dev/null)
    got=$?
    if [ "$got" -ne "$status" ] || [ "$err" != "$message" ]; then
        echo "FAIL: ${settings[*]} $*: status $got, stderr \"$err\"" >&2
        echo "      expected status $status, stderr \"$message\"" >&2
        failures=$((failures + 1))
    fi
}

readonly head="Volcanelle a besoin d'un affichage graphique : "
expect 1 "${head}la variable DISPLAY n'est pas définie." --
expect 1 "${head}la variable DISPLAY n'est pas définie." QT_QPA_PLATFORM=xcb --
# A display number no server listens on.
expect 1 "${head}l'affichage « :65000 » (variable DISPLAY) ne répond pas ou refuse la connexion." \
    DISPLAY=:65000 --
expect 1 "${head}la plateforme « nulle-part » demandée par la variable QT_QPA_PLATFORM n'est pas installée." \
    QT_QPA_PLATFORM=nulle-part --
# A screen of 256 colours, on which Qt's widgets crash.
if command -v Xvfb >/dev/null && command -v xauth >/dev/null; then
    work=$(mktemp -d)
    export XAUTHORITY="$work/Xauthority"
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null
    Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -noreset -screen 0 640x480x8 \
        3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
        sleep 0.05
    done
    eight=":$(cat "$work/display")"
    [ "$eight" != ":" ] || { echo "FAIL: Xvfb gave no display within 10 s" >&2; exit 1; }
    xauth -q -f "$XAUTHORITY" add "$eight" . "$cookie" 2>/dev/null
    expect 1 "Volcanelle a besoin d'un écran d'au moins 15 bits par pixel : celui de l'affichage « $eight » n'en a que 8." \
        DISPLAY="$eight" XAUTHORITY="$XAUTHORITY" --
else
    echo "FAIL: Xvfb or xauth is missing (see the package lists in tools/)" >&2
    failures=$((failures + 1))
fi

expect 0 "" -- --version
expect 0 "" -- --help

[ "$failures" -eq 0 ] && echo "all refusals as expected"
exit $((failures > 0))
