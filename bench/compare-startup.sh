#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory of Volcanelle beside a bare Qt 6 window and Debian's two desktop
# minesweepers, gnome-mines and kmines.
#
#   bench/compare-startup.sh [BUILD_DIR]      (default: build; RUNS=7 by default)
#
# Each run gets a fresh Xvfb and a fresh session bus. mapwatch (bench/mapwatch.cpp) starts the
# program and times it from launch to its first window mapped on the display (for Volcanelle,
# the mine-count box "Saisie"), with the processor time it used by then, and reads its resident
# memory (VmRSS) one second later. Two floors stand beside the game: a bare Qt window, and the
# game's mine-count box shown alone (bench/inputbox.cpp). One warm-up round is dropped, then
# RUNS rounds run the five programs interleaved. Prints a Markdown table of medians and ratios;
# every single run goes to stderr. The game's own floor is the box alone: the table sets every
# time against it, and every memory figure beside it.
#
# With BREAKDOWN=1 it also prints where Volcanelle's resident memory lies beside the box alone's,
# as read in the last round: the kibibytes of each mapping (heap, anonymous memory, each library,
# font and data file), the largest differences first.
#
# The two peers are installed here with apt-get, for this comparison only: the project's own
# set-up never installs them.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${RUNS:-7}

mapwatch=$build/bench/mapwatch
volcanelle=$build/bin/volcanelle
barewindow=$build/bench/barewindow
inputbox=$build/bench/inputbox
for program in "$mapwatch" "$volcanelle" "$barewindow" "$inputbox"; do
    [ -x "$program" ] || { echo "missing $program: build the project first" >&2; exit 1; }
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
peers=(gnome-mines kmines)
missing=()
for package in "${peers[@]}" xvfb dbus; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing for this comparison: ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" >&2
fi

# A home of our own, kept across the runs as a player's would be; the warm-up round creates
# whatever settings and caches the programs write on their first start.
work=$(mktemp -d)
xvfb_pid=
bus_pid=
stop_servers() {
    if [ -n "$bus_pid" ]; then
        kill -- "-$bus_pid" 2>/dev/null || true
        wait "$bus_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    bus_pid=
    xvfb_pid=
}
trap 'stop_servers; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP QT_SCALE_FACTOR

# Starts Xvfb and a session bus, runs mapwatch, stops both. Prints "<ms> <KiB> <CPU ms>".
# A third argument other than "-" names a file for the program's memory map.
measure() {
    local title=$1 smaps=$2
    shift 2
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [ -s "$work/display" ] && break
        sleep 0.02
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    local display
    display=:$(head -n1 "$work/display")

    # The session bus runs in a process group of its own, so that the services it starts
    # (accessibility bus, settings) end with it.
    local bus=$work/run/bus
    rm -f "$bus"
    setsid dbus-daemon --session --nofork --nopidfile --address="unix:path=$bus" \
        >/dev/null 2>&1 </dev/null &
    bus_pid=$!
    for _ in $(seq 200); do
        [ -S "$bus" ] && break
        sleep 0.02
    done
    # As on a desktop, the accessibility bus is up before any program starts.
    DBUS_SESSION_BUS_ADDRESS=unix:path=$bus dbus-send --session --print-reply \
        --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 || true

    local title_option=()
    [ -n "$title" ] && title_option=(--title "$title")
    [ "$smaps" != - ] && title_option+=(--smaps "$smaps")
    local result
    result=$(DISPLAY=$display DBUS_SESSION_BUS_ADDRESS=unix:path=$bus \
        "$mapwatch" "${title_option[@]}" -- "$@" 2>/dev/null) || result="fail"
    stop_servers
    echo "$result" | awk '{ print $1, $2, $3 }'
}

names=("Volcanelle" "Bare Qt 6 window" "Qt input box alone" "gnome-mines" "kmines")
titles=("Saisie" "Qt" "Saisie" "" "")
commands=("$volcanelle" "$barewindow" "$inputbox" "/usr/games/gnome-mines" "/usr/games/kmines")

results=$work/results
: >"$results"
for round in $(seq 0 "$runs"); do
    for i in "${!names[@]}"; do
        line=$(measure "${titles[$i]}" "$work/smaps.$i" "${commands[$i]}")
        if [ "$round" -eq 0 ]; then
            echo "warm-up  ${names[$i]}: $line" >&2
        else
            echo "run $round  ${names[$i]}: $line" >&2
            echo "$i $line" >>"$results"
        fi
    done
done

median() { # values on stdin, one a line
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
column_of() { # program index, column (2 = ms, 3 = KiB, 4 = CPU ms)
    awk -v i="$1" -v c="$2" '$1 == i && $2 != "fail" { print $c }' "$results"
}

declare -a ms kib cpu lo hi
for i in "${!names[@]}"; do
    ms[$i]=$(column_of "$i" 2 | median)
    kib[$i]=$(column_of "$i" 3 | median)
    cpu[$i]=$(column_of "$i" 4 | median)
    lo[$i]=$(column_of "$i" 2 | sort -g | head -n1)
    hi[$i]=$(column_of "$i" 2 | sort -g | tail -n1)
done

echo
echo "Launch to first window mapped, its processor time by then, and resident memory one second"
echo "later: medians of $runs runs, each on a fresh Xvfb, after a warm-up run ($(nproc) cores)."
echo
echo "| Program | First window (ms) | Spread (ms) | ÷ input box | Processor (ms) | Memory (MiB) | − input box (MiB) |"
echo "|---|---:|---:|---:|---:|---:|---:|"
for i in "${!names[@]}"; do
    awk -v name="${names[$i]}" -v ms="${ms[$i]}" -v lo="${lo[$i]:-nan}" -v hi="${hi[$i]:-nan}" \
        -v cpu="${cpu[$i]}" -v kib="${kib[$i]}" -v box="${ms[2]}" -v boxkib="${kib[2]}" 'BEGIN {
        printf "| %s | %.0f | %.0f–%.0f | %.2f | %.0f | %.1f | %+.1f |\n",
            name, ms, lo, hi, ms / box, cpu, kib / 1024, (kib - boxkib) / 1024
    }'
done
if [ -n "${BREAKDOWN:-}" ]; then
    echo
    echo "Resident KiB by mapping, Volcanelle beside the input box alone (last round):"
    echo
    echo "| Mapping | Volcanelle | Input box | Difference |"
    echo "|---|---:|---:|---:|"
    # A mapping's header line starts with its address range; its name, if any, is the sixth field.
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = NF >= 6 ? $6 : "[anonymous]"; sub(/.*\//, "", name) }
         /^Rss:/ { kib[FILENAME == ARGV[1], name] += $2; names[name] = 1 }
         END {
             for (name in names) {
                 game = kib[1, name] + 0; box = kib[0, name] + 0
                 if (game != box) printf "%d|%s|%d|%d\n", game - box, name, game, box
             }
         }' "$work/smaps.0" "$work/smaps.2" | sort -t'|' -k1,1gr |
        awk -F'|' '{ printf "| %s | %d | %d | %+d |\n", $2, $3, $4, $1 }'
    awk '/^Rss:/ { kib[FILENAME == ARGV[1]] += $2 }
         END { printf "| All | %d | %d | %+d |\n", kib[1], kib[0], kib[1] - kib[0] }' \
        "$work/smaps.0" "$work/smaps.2"
fi
echo
echo "Versions: $(dpkg-query -W -f='${Package} ${Version}; ' gnome-mines kmines libqt6widgets6 2>/dev/null)"
