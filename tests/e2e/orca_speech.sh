#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a blind player hears it: the real screen reader (Orca, in French, with its
# default settings) on a private virtual X display, D-Bus session and accessibility bus, its
# speech written to a file by speech-dispatcher instead of a sound card. orca_speech.py plays
# by keyboard and reads what was said. Everything started here is stopped here.
# Usage: orca_speech.sh <path to the volcanelle executable>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 400 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: orca_speech.sh <volcanelle executable>}
driver="$(dirname "$0")/orca_speech.py"
[ -x "$game" ] || { echo "FAIL: no executable at $game" >&2; exit 1; }
for tool in Xvfb xauth xdotool dbus-run-session orca speech-dispatcher openbox localedef \
    /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done

# shellcheck source=xsession.sh
. "$(dirname "$0")/xsession.sh"

# speech-dispatcher, spawned on Orca's first word, leaves the D-Bus session to live on its
# own; it and its module are found by the paths under $work that only this run uses.
finish() {
    local status=$?
    pkill -f -- "$work/runtime/speech-dispatcher" 2>/dev/null || true
    pkill -f -- "$work/home/.config/speech-dispatcher" 2>/dev/null || true
    cleanup "$status"
}
trap finish EXIT

step="preparing a French screen reader that speaks into a file"
home="$work/home"
mkdir -p "$home/.config/speech-dispatcher/modules" "$work/locale"
mkdir -p -m 700 "$work/runtime"
# No sound card: ALSA writes nowhere, and a generic module appends each utterance to a file.
printf 'pcm.!default {\n  type null\n}\n' >"$home/.asoundrc"
cat >"$home/.config/speech-dispatcher/modules/tofile.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $work/spoken.txt"
GenericCmdDependency "printf"
AddVoice "fr" "MALE1" "fr"
CONF
cat >"$home/.config/speech-dispatcher/speechd.conf" <<'CONF'
DefaultLanguage "fr"
AddModule "tofile" "sd_generic" "tofile.conf"
DefaultModule tofile
AudioOutputMethod "alsa"
CONF
: >"$work/spoken.txt"
# Orca speaks the language of the session: French, built here rather than asked of the system.
localedef -i fr_FR -f UTF-8 "$work/locale/fr_FR.UTF-8" 2>/dev/null ||
    fail "could not build the French locale (package locales)"

step="playing under Orca"
# A run in which Orca itself stalled (status 3: it said nothing at all for a key, which a
# loaded machine can cause) is run again, up to three runs in all; anything it said wrong
# fails at once, and a game that leaves Orca silent stalls every run and fails.
for attempt in 1 2 3; do
    : >"$work/spoken.txt"
    status=0
    HOME="$home" LOCPATH="$work/locale" LANG=fr_FR.UTF-8 LANGUAGE=fr LC_ALL=fr_FR.UTF-8 \
        XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$home/.config" \
        GAME="$game" SPOKEN="$work/spoken.txt" WORK="$work" \
        dbus-run-session -- /usr/bin/python3 "$driver" \
        2> >(grep -v "dbus-daemon\|SpiRegistry" >&2) || status=$?
    [ "$status" -eq 3 ] && [ "$attempt" -lt 3 ] && continue
    [ "$status" -eq 0 ] || fail "the screen reader heard the game wrong (status $status)"
    break
done
