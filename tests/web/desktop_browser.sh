#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop game and the browser page in one duel: the game on a private virtual X display,
# with a private D-Bus session and its accessibility bus, through which desktop_browser.py
# reads and plays it beside a headless Chromium page. Everything started here stops here.
# Usage: desktop_browser.sh <volcanelle executable> <volcanelle-server executable>
set -euo pipefail

if [ -z "${VOLCANELLE_E2E_BOUNDED:-}" ]; then
    exec timeout --kill-after=5 280 env VOLCANELLE_E2E_BOUNDED=1 "$0" "$@"
fi

game=${1:?usage: desktop_browser.sh <volcanelle executable> <volcanelle-server executable>}
server=${2:?usage: desktop_browser.sh <volcanelle executable> <volcanelle-server executable>}
here=$(cd "$(dirname "$0")" && pwd)
for program in "$game" "$server"; do
    [ -x "$program" ] || { echo "FAIL: no executable at $program" >&2; exit 1; }
done
for tool in Xvfb xauth xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher chromium chromedriver; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (see tools/debian-packages-test.txt)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi, selenium' 2>/dev/null ||
    { echo "FAIL: python3-pyatspi or python3-selenium is missing" >&2; exit 1; }

# shellcheck source=../e2e/xsession.sh
. "$here/../e2e/xsession.sh"

step="playing a round, the page against the desktop game"
# The accessibility bus first (activated by a first query), then the duel; the script stops
# the server, the browser and the game it started, whatever the outcome.
WORK="$work" GAME="$game" SERVER="$server" SCRIPT="$here/desktop_browser.py" \
    dbus-run-session -- bash -c '
        timeout 15 /usr/bin/python3 -c "import pyatspi; pyatspi.Registry.getDesktop(0)" ||
            { echo "FAIL: the accessibility bus did not start" >&2; exit 1; }
        timeout 240 /usr/bin/python3 "$SCRIPT" "$GAME" "$SERVER"
    ' 2> >(grep -v "dbus-daemon\|SpiRegistry\|XDG_RUNTIME" >&2)
