#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/tools/setup.sh" test
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$here/build" --output-on-failure

# The mine-count reader, the network message reader and the duel server's message handling
# under libFuzzer, built with clang in their own folder. Each run is bounded (30 s or 2 million inputs, whichever comes first) and
# must find nothing.
if [ ! -f "$here/build-fuzz/build.ninja" ]; then
    cmake -S "$here" -B "$here/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVOLCANELLE_FUZZ=ON
fi
# Set on its own so that a fuzzing folder made before the server gains it.
cmake "$here/build-fuzz" -DVOLCANELLE_SERVER=ON >/dev/null
cmake --build "$here/build-fuzz" --target volcanelle_fuzz_minecount volcanelle_fuzz_wire \
    volcanelle_fuzz_server

# fuzz NAME SEED-CORPUS [EXTRA LIBFUZZER OPTIONS...]
fuzz() {
    local name=$1 seeds=$2
    shift 2
    mkdir -p "$here/build-fuzz/corpus-$name" "$here/build-fuzz/findings"
    echo "Fuzzing the $name reader (log: build-fuzz/fuzz-$name.log)"
    if ! "$here/build-fuzz/fuzz/volcanelle_fuzz_$name" -max_total_time=30 -runs=2000000 \
        -timeout=10 -print_final_stats=1 "$@" \
        -artifact_prefix="$here/build-fuzz/findings/$name-" "$here/build-fuzz/corpus-$name" \
        "$seeds" >"$here/build-fuzz/fuzz-$name.log" 2>&1; then
        tail -n 40 "$here/build-fuzz/fuzz-$name.log"
        echo "The fuzzer found a fault; the input is in build-fuzz/findings/"
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$here/build-fuzz/fuzz-$name.log"
}
fuzz minecount "$here/fuzz/corpus" -max_len=20480 -dict="$here/fuzz/minecount.dict"
fuzz wire "$here/fuzz/wirecorpus" -max_len=20480
fuzz server "$here/fuzz/servercorpus" -max_len=4096

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer; any
# report makes its test fail. Leaks inside system libraries only are suppressed, each with
# its reason, in tests/reliability/sanitizers/.
if [ ! -f "$here/build-asan/build.ninja" ]; then
    cmake -S "$here" -B "$here/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
fi
cmake --build "$here/build-asan"
# intercept_tls_get_addr=0: this runtime takes a dynamic TLS block that happens to start 16
# bytes past a page boundary for one with a header from glibc before 2.25, reads its own
# allocator's chunk header as that block's address and size, and the leak check then scans
# that made-up range: "Tracer caught signal 11", a fatal error, status 1, at random. Without
# the interception nothing is lost: these blocks come from malloc in the dynamic linker, and
# the leak check counts every allocation made there as reachable and scans it.
ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:intercept_tls_get_addr=0 \
    LSAN_OPTIONS=suppressions="$here/tests/reliability/sanitizers/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$here/build-asan" --output-on-failure
