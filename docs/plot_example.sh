#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Remakes docs/example.png: converts a copy of the bundled example with wfconv and plots
# both channel files with gnuplot, one panel per channel.
#
#   docs/plot_example.sh [BUILD_DIR]     (default BUILD_DIR: build)
#
# Needs cmake, g++ and gnuplot (Debian: apt-get install gnuplot-nox).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
command -v gnuplot >/dev/null || { echo "gnuplot is not installed (apt-get install gnuplot-nox)" >&2; exit 1; }

# Only wfconv is needed, so a fresh build directory leaves the tests out.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DWFCONV_BUILD_TESTS=OFF
fi
cmake --build "$build" -j2 --target wfconv

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/sine_square.wfm "$work/"
program=$(cd "$build" && pwd)/wfconv
(cd "$work" && "$program" sine_square.wfm >report.txt)

# Channel files end their lines in CR LF; gnuplot gets plain LF copies.
for channel in 1 2; do
  tr -d '\r' <"$work/sine_square.wfm$channel.txt" >"$work/channel$channel.dat"
done

gnuplot <<EOF
set terminal pngcairo noenhanced size 960,640 font "sans,10"
set output "docs/example.png"
set multiplot layout 2,1 title "examples/sine_square.wfm converted by wfconv" font "sans,12"
set xlabel "sample index"
set ylabel "value"
set grid
set key off
set xrange [0:2047]
set title "channel 1: sine_square.wfm1.txt (50 Hz sine, start block 2)"
plot "$work/channel1.dat" using 0:1 with lines linecolor rgb "#1f6fb4"
set title "channel 2: sine_square.wfm2.txt (400 Hz square wave, start block 20, offset -2.5)"
set yrange [-3.2:3.2]
plot "$work/channel2.dat" using 0:1 with lines linecolor rgb "#c0392b"
unset multiplot
EOF
echo "wrote docs/example.png"
