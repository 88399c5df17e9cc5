#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Wfconv.dll built by Mono's mcs beside only the library's runtime file, held to the C interface.
#   check_assembly.sh WORK_DIRECTORY LIBWFCONV_SO DUMP_WAVEFORM SEEDS
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
. tests/front_ends/need_tools.sh
need mcs mono
[ -x "$3" ] || skip "no C compiler built the C interface's dump"
out=$1
rm -rf "$out" && mkdir -p "$out/lib" && cp -L "$2" dotnet/Wfconv.dll.config "$out/lib/" &&
  mcs -target:library -warnaserror -out:"$out/lib/Wfconv.dll" dotnet/Wfconv.cs &&
  mcs -warnaserror -r:"$out/lib/Wfconv.dll" -out:"$out/lib/WfconvTest.exe" tests/dotnet/WfconvTest.cs &&
  "$4" "$out/seeds" &&
  LD_LIBRARY_PATH=$out/lib mono "$out/lib/WfconvTest.exe" "$3" "$out/work" examples/sine_square.wfm "$out"/seeds/*
