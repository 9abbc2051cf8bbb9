#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The network duel runs as a program of its own: a plain start must not load Qt Network, the
# network options must reach that program, and a game installed without it must say so in
# French and end with status 1 rather than start something else.
# Usage: network_program.sh <path to the volcanelle executable>
set -uo pipefail

game=${1:?usage: network_program.sh <volcanelle executable>}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ldd "$game" | grep -q 'libQt6Network'; then
    fail "volcanelle itself links Qt Network"
fi

# Without a display the network program answers with its own display check: it was reached.
err=$(timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" --host --port 0 2>&1)
status=$?
[ "$status" -eq 1 ] && [ "$err" = "Volcanelle a besoin d'un affichage graphique : la variable DISPLAY n'est pas définie." ] ||
    fail "--host without a display: status $status, \"$err\""

# The game alone, without the network program beside it or at its installed place.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/games"
cp "$game" "$work/games/volcanelle"
for options in "--join-ask" "--host" "--join ::1 --code 004217"; do
    # shellcheck disable=SC2086 # the options are split on purpose
    err=$(timeout 10 env QT_QPA_PLATFORM=offscreen "$work/games/volcanelle" $options 2>&1)
    status=$?
    case "$err" in
    "volcanelle : impossible de lancer le jeu en réseau « $work/games/"*"/volcanelle-network » : fichier introuvable.")
        [ "$status" -eq 1 ] || fail "$options without the network program: status $status" ;;
    *) fail "$options without the network program: status $status, \"$err\"" ;;
    esac
done

[ "$failures" -eq 0 ] && echo "network program started as expected"
exit $((failures > 0))
