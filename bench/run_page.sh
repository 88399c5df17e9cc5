#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the page (the web preset) and the largest file the format allows, then times the
# page on it in headless chromium and firefox (or the one named): chosen -> plot drawn,
# zoom redraws, a channel's download.
#   bench/run_page.sh [ROUNDS [chromium|firefox]]        (default 5 rounds, both browsers)
# Needs what the browser test needs: the web preset's packages, the browsers, node and npm.
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
for browser in ${2:-chromium firefox}; do
  node bench/page_bench.mjs build-web/wfconv.html "$work/largest.wfm" "${1:-5}" "$browser"
done
