#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds wfconv and the benchmark programs in Release, makes the inputs, races wfconv
# against the plain stdio converter and a bare copy, then times the number text and the
# library's reading.
#   bench/run.sh [ROUNDS [SMALL_ROUNDS [BATCH_ROUNDS]]]
# ROUNDS 0 races only the one-block file and the batch: a quick look at start-up.
# BENCH_BUILD_DIR overrides the build directory; BENCH_CMAKE_ARGS adds arguments to
# its configure step (-DWFCONV_STATIC_RUNTIME=OFF measures the shared runtimes);
# BENCH_WORK_DIR puts the inputs and outputs elsewhere (a tmpfs such as /dev/shm/wfconv-bench
# keeps other processes' disk traffic out of a start-up run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"
work="${BENCH_WORK_DIR:-$build/bench-work}"

# shellcheck disable=SC2086  # BENCH_CMAKE_ARGS is a list of arguments
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWFCONV_BUILD_BENCH=ON -DWFCONV_BUILD_TESTS=OFF \
  ${BENCH_CMAKE_ARGS:-} >/dev/null
targets=(wfconv make_waveform wfconv_baseline floor_copy race)
[ "${1:-}" = 0 ] || targets+=(number_text_bench read_bench)
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

# The baseline stands for the C stdio program a user would write instead: linked
# against the C library and nothing else, which is what every start of it loads.
needed="$(readelf -d "$build/bench/wfconv_baseline" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')"
if [ "$needed" != "libc.so.6 " ]; then
  echo "run.sh: the baseline must load the C library alone, not: ${needed:-nothing (static)}" >&2
  exit 1
fi

mkdir -p "$work"
trap 'rm -rf "$work"' EXIT  # the inputs and outputs come to about half a gigabyte
"$build/bench/make_waveform" "$work"
"$build/bench/race" "$work" "$build/wfconv" "$build/bench/wfconv_baseline" "$build/bench/floor_copy" "$@"
if [ "${1:-}" != 0 ]; then
  echo
  "$build/bench/number_text_bench"
  echo
  "$build/bench/read_bench" "$work/largest.wfm"
fi
