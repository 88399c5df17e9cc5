#!/usr/bin/env bash
# Builds the page (the web preset) and the largest file the format allows, then times the
# page on it in headless chromium: chosen -> plot drawn, zoom redraws, a channel's download.
#   bench/run_page.sh [ROUNDS]        (default 5)
# Needs what the browser test needs: the web preset's packages, chromium, node and npm.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --workflow --preset web >/dev/null
work=build-web/bench-work
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -Iexamples bench/make_waveform.cpp -o build-web/make_waveform
build-web/make_waveform "$work"
[ -d tests/browser/node_modules ] || npm ci --prefix tests/browser --no-audit --no-fund --loglevel=error
node bench/page_bench.mjs build-web/wfconv.html "$work/largest.wfm" "${1:-5}"
