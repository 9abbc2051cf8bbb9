#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a new user meets on a bare Debian 12: a minbase root with only git, ca-certificates and
# sudo, where the play command is timed up to the mine-count box ("Saisie"), then the test
# command as a whole; then the play command as a user with sudo, the installed package, and
# the set-up again once sudo is gone. Prints the figures; the root is removed at the end.
#
#   bench/bare-debian.sh [MIRROR]     as root, with bench/mapwatch built in build/
#
# MIRROR defaults to the first Debian archive in this machine's apt sources. Needs about 4 GB
# and, on 2 loaded cores, about an hour. The compiler cache is off, as on a new machine. The logs
# are kept in a folder of their own; with HOLD=1 the root stays up, for a look inside, until
# the file named "release" is made in its folder.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap, chroot, mount)" >&2; exit 1; }
mirror=${1:-$(sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\+\([^[:space:]]*\).*/\1/p' \
    /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | grep -v security | head -n1 || true)}
[ -n "$mirror" ] || { echo "no Debian mirror in the apt sources: give one" >&2; exit 1; }
mapwatch=${MAPWATCH:-$here/build/bench/mapwatch}
[ -x "$mapwatch" ] || { echo "missing $mapwatch: build the mapwatch target first" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/var/tmp}/bare-debian.XXXXXX")
root=$work/root
logs=$(mktemp -d "${TMPDIR:-/var/tmp}/bare-debian-logs.XXXXXX")
echo "logs in $logs"
xvfb_pid=
cleanup() {
    if [ -n "${HOLD:-}" ]; then
        echo "held: chroot $root; touch $work/release to clean up"
        while [ ! -e "$work/release" ]; do sleep 5; done
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    # Deepest first; the root is only removed once nothing is mounted in it any more.
    local m
    for m in $(findmnt -rn -o TARGET | grep "^$root/" | sort -r); do umount -l "$m" || true; done
    if findmnt -rn -o TARGET | grep -q "^$root/"; then
        echo "still mounted under $root: left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

note() { echo "== $*"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
stamp() { while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done; }
export -f stamp
# What apt said it fetched and added, and the time from "Installing:" to cmake's first line.
apt_figures() { # apt_figures <stamped log>
    grep -E 'Need to get|After this operation|Fetched ' "$1" | cut -d' ' -f2- || true
    awk '/ Installing: / && !s { s = $1 } s && / -- / { printf "apt part: %.1f s\n", $1 - s; exit }' "$1"
}

note "debootstrap from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$logs/debootstrap.log"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Nothing of this side's environment (TMPDIR, …) may leak inside.
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin apt-get update -q >/dev/null
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q git ca-certificates sudo >/dev/null
git clone -q "$here" "$root/root/volcanelle"
note "disk before: $(du -sxh "$root" | cut -f1)"

# A private display on this side; the chroot reaches it through its abstract socket.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
xauth -q -f "$work/Xauthority" add :0 . "$cookie" 2>/dev/null # the server reads every entry
Xvfb -displayfd 3 -auth "$work/Xauthority" -nolisten tcp -noreset -screen 0 1280x1024x24 \
    3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 500); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    sleep 0.02
done
grep -q '^[0-9][0-9]*$' "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$work/display")
export DISPLAY
export XAUTHORITY=$work/Xauthority # for mapwatch, on this side
xauth -q add "$DISPLAY" . "$cookie" 2>/dev/null
xauth -q -f "$root/root/.Xauthority" add "$DISPLAY" . "$cookie" 2>/dev/null
# A login shell's environment: root has no XDG_RUNTIME_DIR and no /usr/games on its PATH.
root_env=(HOME=/root LANG=C.UTF-8 TERM=dumb CCACHE_DISABLE=1 DISPLAY="$DISPLAY"
    XAUTHORITY=/root/.Xauthority PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
user_env=(HOME=/home/player USER=player LANG=C.UTF-8 TERM=dumb CCACHE_DISABLE=1 DISPLAY="$DISPLAY"
    XAUTHORITY=/home/player/.Xauthority PATH=/usr/local/bin:/usr/bin:/bin)
in_root() { chroot "$root" /usr/bin/env -i "${root_env[@]}" "$@"; }

note "play command as root, to the mine-count box; load average $(load)"
"$mapwatch" --title Saisie --timeout 1800 -- bash -c 'exec "$@" > >(stamp >"$0") 2>&1' \
    "$logs/play.log" chroot "$root" /usr/bin/env -i "${root_env[@]}" bash -c 'cd /root/volcanelle && exec ./tools/play.sh' >"$work/play.time" ||
    { cut -d' ' -f2- "$logs/play.log" | tail -n 30; echo "no mine-count box" >&2; exit 1; }
awk '{ printf "== elapsed to the box: %.1f s\n", $1 / 1000 }' "$work/play.time"
apt_figures "$logs/play.log"
note "load average after: $(load)"
in_root bash -c 'cd /root/volcanelle && TIMEFORMAT="play build again: %R s elapsed, %U s user + %S s system"
    cmake --build build-play --target clean >/dev/null; time cmake --build build-play --target volcanelle >/dev/null'
grep -E 'Could NOT|CMake Warning|[Ee]rror' "$logs/play.log" | cut -d' ' -f2- || true

note "play command as a user with sudo, one play package missing so that apt runs"
in_root useradd -m -s /bin/bash player
echo 'player ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/player"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q qt6-translations-l10n >/dev/null
git clone -q "$here" "$root/home/player/volcanelle"
xauth -q -f "$root/home/player/.Xauthority" add "$DISPLAY" . "$cookie" 2>/dev/null
in_root chown -R player:player /home/player
"$mapwatch" --title Saisie --timeout 1800 -- bash -c 'exec "$@" >"$0" 2>&1' "$logs/user.log" \
    chroot --userspec=player:player "$root" /usr/bin/env -i "${user_env[@]}" \
    bash -c 'cd ~/volcanelle && exec ./tools/play.sh' >/dev/null || note "user: no box"
grep -E 'Installing|sudo|Could NOT|[Ee]rror' "$logs/user.log" || true

note "test command as root; load average $(load)"
test_rc=0
in_root bash -c 'cd /root/volcanelle && TIMEFORMAT="test command: %R s elapsed, %U s user + %S s system"
    time ./tools/test.sh' 2>&1 | stamp >"$logs/test.log" || test_rc=$?
note "test command status $test_rc; load average after: $(load)"
apt_figures "$logs/test.log"
grep -E 'test command:|tests passed|\(Failed\)|\(SEGFAULT\)|\(Timeout\)|Could NOT|found a fault' \
    "$logs/test.log" | cut -d' ' -f2- || true
note "disk after: $(du -sxh "$root" | cut -f1)"

note "setup.sh install, then the installed game as root"
in_root bash -c 'cd /root/volcanelle && ./tools/setup.sh install' >"$logs/install.log" 2>&1 ||
    { tail -n 20 "$logs/install.log"; note "install failed"; }
in_root bash -c 'command -v volcanelle || echo "volcanelle: not on root PATH ($PATH)"'
in_root dpkg -L volcanelle | grep -E 'bin/|games/' || true
in_root bash -c 'man volcanelle 2>&1 | head -n 3'
game=$(in_root dpkg -L volcanelle | grep -E '/(bin|games)/volcanelle$' | head -n1 || true)
"$mapwatch" --title Saisie --timeout 60 -- bash -c 'exec "$@" >"$0" 2>&1' "$logs/game.log" \
    chroot "$root" /usr/bin/env -i "${root_env[@]}" "$game" >/dev/null ||
    note "installed game: no box"
note "installed game's output:"
cat "$logs/game.log"

note "sudo purged, then setup.sh play as root again"
in_root env SUDO_FORCE_REMOVE=yes DEBIAN_FRONTEND=noninteractive apt-get purge -y -q sudo >/dev/null
in_root bash -c 'cd /root/volcanelle && ./tools/setup.sh play; echo "status $?"' 2>&1 | tail -n 5
