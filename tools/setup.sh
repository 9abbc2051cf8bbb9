#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that are missing, then configures and builds; as root, or
# through sudo for any other user.
#   setup.sh play     the game alone, into build-play/ (tools/debian-packages-play.txt)
#   setup.sh install  the same, then the game's Debian package, made by cpack and installed
#                     with apt (tools/debian-packages-install.txt too)
#   setup.sh test     everything: game, tests, benchmarks, into build/ (all three lists)
# Quick when everything is already there: apt is only called for missing packages.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Every package named in the given lists that is not installed yet gets installed.
install_lists() { # install_lists <list file>...
    local wanted
    mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$@")
    install_packages "${wanted[@]}"
}

install_packages() { # install_packages <package>...
    local missing=() package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
    fi
}

configure_play() {
    if [ ! -f "$here/build-play/build.ninja" ]; then
        # One translation unit per target instead of one per file: each file no longer parses
        # Qt's headers on its own, which halves the first build's processor time.
        cmake -S "$here" -B "$here/build-play" -G Ninja -DBUILD_TESTING=OFF -DCMAKE_UNITY_BUILD=ON
    fi
}

case "${1:-}" in
play)
    install_lists "$here/tools/debian-packages-play.txt"
    configure_play
    cmake --build "$here/build-play" --target volcanelle
    ;;
install)
    install_lists "$here/tools/debian-packages-play.txt" "$here/tools/debian-packages-install.txt"
    configure_play
    cmake --build "$here/build-play"
    # A folder of its own, so that the one package in it is the one just made.
    rm -rf "$here/build-play/package"
    (cd "$here/build-play" && cpack -B package)
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$here"/build-play/package/*.deb
    ;;
test)
    install_lists "$here/tools/debian-packages-play.txt" "$here/tools/debian-packages-install.txt" \
        "$here/tools/debian-packages-test.txt"
    # npm installs the page's accessibility checker. Some Node.js builds carry their own npm,
    # which Debian's package would clash with: Debian's only when there is none.
    command -v npm >/dev/null || install_packages npm
    if [ ! -f "$here/build/build.ninja" ]; then
        cmake -S "$here" -B "$here/build" -G Ninja
    fi
    cmake --build "$here/build"
    ;;
*)
    echo "usage: setup.sh play|install|test" >&2
    exit 2
    ;;
esac
