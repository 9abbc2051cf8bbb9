#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the duel server's systemd unit: systemd reads it without a complaint (its manual page
# aside, installed only with the package), and rates its exposure at most 2.0. The unit is
# checked with its program pointed at the build's.
#   checkunit.sh <systemd-analyze> <unit file> <built program>
set -euo pipefail
analyze=$1 unit=$2 program=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s|^ExecStart=/usr/bin/volcanelle-server|ExecStart=$program|" "$unit" >"$work/volcanelle-server.service"

if ! out=$("$analyze" verify --man=no "$work/volcanelle-server.service" 2>&1) || [ -n "$out" ]; then
    echo "systemd-analyze verify complains:" >&2
    echo "$out" >&2
    exit 1
fi
report=$("$analyze" security --offline=true "$work/volcanelle-server.service" 2>&1) || true
level=$(sed -n 's/.*Overall exposure level for .*: \([0-9.]*\).*/\1/p' <<<"$report")
if [ -z "$level" ]; then
    echo "no exposure level in systemd-analyze security's report:" >&2
    echo "$report" >&2
    exit 1
fi
echo "exposure level $level"
if ! awk -v l="$level" 'BEGIN { exit !(l <= 2.0) }'; then
    echo "exposure level $level is above 2.0:" >&2
    grep '✗' <<<"$report" >&2 || true
    exit 1
fi
