#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# wfconv_read pkg-installed from the build's Octave package, held to the C interface and the command.
#   check_package.sh BUILD_DIRECTORY WFCONV DUMP_WAVEFORM SEEDS
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
. tests/front_ends/need_tools.sh
need octave mkoctfile
[ -x "$3" ] || skip "no C compiler built the C interface's dump"
work=$1/octave_test files=$1/octave_test/files
rm -rf "$work" "$1"/matlab/wfconv-*.tar.gz && mkdir -p "$files" "$work/prefix" &&
  cmake --build "$1" --target wfconv_octave_package &&
  "$4" "$files" && cp examples/sine_square.wfm "$files/" && head -c 3000 examples/sine_square.wfm >"$files/cut.wfm" &&
  cp examples/sine_square.wfm "$files/amplitude-µV.wfm" || exit 1
for file in "$files"/*.wfm "$files/missing.wfm"; do
  "$2" "$file" >"$file.out"  # status 2 or 3 too
  printf '%s\n' "$file" | "$3" >"$file.c" || exit 1
done
octave --no-gui --norc --no-history --quiet --no-window-system tests/octave/test_wfconv_read.m \
  "$1"/matlab/wfconv-*.tar.gz "$work"
