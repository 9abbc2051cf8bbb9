#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every end-to-end script of this folder, given a program that ends at once instead of the
# game, must fail, say why, stop everything it started and remove what it wrote.
# Usage: script_failures.sh
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The processes that carry <mark> in their environment: whatever the script started.
marked() { # marked <mark>
    grep -lsxz "E2E_FAILURE_MARK=$1" /proc/[0-9]*/environ | cut -d/ -f3
}

for script in "$here"/*.sh; do
    name=${script##*/}
    # Not tests: the shared X session, and this file.
    [ "$name" = xsession.sh ] || [ "$name" = script_failures.sh ] && continue
    scratch=$(mktemp -d)
    mark=$(od -An -N8 -tx1 /dev/urandom | tr -d ' \n')
    status=0
    # In the place of the game and of any helper a script takes after it.
    out=$(TMPDIR="$scratch" E2E_FAILURE_MARK=$mark timeout 90 "$script" /bin/false /bin/false \
        2>&1) || status=$?
    if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
        fail "$name with a program that ends at once: status $status"
    fi
    grep -q '^FAIL' <<<"$out" || fail "$name printed no FAIL line: $out"
    # The scripts on the shared X session also say which step failed.
    if grep -q 'xsession\.sh' "$script"; then
        grep -q '^FAIL while: .' <<<"$out" || fail "$name did not say which step failed: $out"
    fi
    # A bus that is told to stop may take a moment to go.
    for _ in $(seq 40); do
        left=$(marked "$mark")
        [ -z "$left" ] && break
        sleep 0.05
    done
    if [ -n "$left" ]; then
        # shellcheck disable=SC2086 # one pid per word
        fail "$name left running: $(ps -o pid=,args= -p ${left//$'\n'/,})"
        # shellcheck disable=SC2086
        kill $left 2>/dev/null
    fi
    [ -z "$(ls -A "$scratch")" ] || fail "$name left in its temporary folder: $(ls -A "$scratch")"
    rm -rf "$scratch"
done

[ "$failures" -eq 0 ] && echo "PASS: every script failed cleanly"
exit $((failures > 0))
