#!/usr/bin/env bash
# Builds wfconv and the benchmark programs in Release, makes the inputs, races wfconv
# against the plain stdio converter and a bare copy, then times the number text.
#   bench/run.sh [ROUNDS [SMALL_ROUNDS [BATCH_ROUNDS]]]   (BENCH_BUILD_DIR overrides the build directory)
# ROUNDS 0 leaves out the largest file, for a quick look at start-up.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"
work="$build/bench-work"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWFCONV_BUILD_BENCH=ON -DWFCONV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target wfconv make_waveform wfconv_baseline floor_copy race number_text_bench >/dev/null

mkdir -p "$work"
trap 'rm -rf "$work"' EXIT  # the inputs and outputs come to about half a gigabyte
"$build/bench/make_waveform" "$work"
"$build/bench/race" "$work" "$build/wfconv" "$build/bench/wfconv_baseline" "$build/bench/floor_copy" "$@"
echo
"$build/bench/number_text_bench"
