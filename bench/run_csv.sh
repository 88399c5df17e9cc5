#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds wfconv-csv and make_waveform in Release, makes the inputs and races wfconv-csv
# (bench/csv_race.py): the largest file against copying its CSV's bytes, and one run over
# 2,000 small files against one run per file.
#   bench/run_csv.sh [ROUNDS [BATCH_ROUNDS]]
# BENCH_BUILD_DIR and BENCH_WORK_DIR as for run.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"
work="${BENCH_WORK_DIR:-$build/bench-work}/csv"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWFCONV_BUILD_BENCH=ON -DWFCONV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target wfconv-csv make_waveform >/dev/null
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT  # the inputs and the CSVs come to about 0.6 GB
"$build/bench/make_waveform" "$work" >/dev/null
python3 "$root/bench/csv_race.py" "$work" "$build/wfconv-csv" "$@"
