#!/bin/sh
# SPDX-License-Identifier: MIT
# A source named in src/library.txt alone reaches BUILD, with the exact-arithmetic flags named
# there: python, setup.py's compile commands; octave, the Octave package's Makefile and the
# MATLAB build's mex arguments (dry runs). Usage: [CMAKE=cmake] new_source_reaches_builds.sh BUILD SOURCE_DIR
set -u
build=$1 root=$2
fail() { echo "$*"; exit 1; }
if [ "$build" = python ]; then
  /usr/bin/python3 -c 'import pybind11, setuptools' 2>/dev/null || { echo "skipped: no pybind11 or setuptools"; exit 77; }
else
  command -v mkoctfile >/dev/null && command -v octave >/dev/null || { echo "skipped: no mkoctfile or octave"; exit 77; }
fi
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT && cd "$tree" || exit 1
cp -R "$root/src" "$root/include" "$root/matlab" "$root/python" "$root/CMakeLists.txt" "$root/setup.py" \
  "$root/pyproject.toml" "$root/LICENSE" . || exit 1
echo 'int wfconv_list_probe() { return 0; }' >src/reader/list_probe.cpp
echo 'reader: src/reader/list_probe.cpp' >>src/library.txt
flags=$(sed -n 's/^exact-gnu: *//p' src/library.txt)
if [ "$build" = python ]; then
  /usr/bin/python3 setup.py -n build_ext >log 2>&1 && grep -F 'src/reader/list_probe.cpp' log | grep -qF -- "$flags" ||
    { cat log; fail "setup.py does not compile the new source with $flags"; }
else
  mkdir out && "${CMAKE:-cmake}" -D SOURCE_DIR="$tree" -D WORK_DIR="$tree/out" -D VERSION=probe \
    -P matlab/make_octave_package.cmake && tar xzf out/wfconv-probe.tar.gz -C out || fail "no package"
  grep -q -- "^export CXXFLAGS.*$flags" out/wfconv-probe/src/Makefile || fail "the package's Makefile lacks $flags"
  make -n -C out/wfconv-probe/src | grep -q 'list_probe\.cpp' || fail "the package's Makefile leaves out the new source"
  octave --no-gui --norc --quiet --eval "addpath('matlab'); a = wfconv_mex_arguments('$tree', 'g++');
    exit(~(any(strcmp(a, fullfile('$tree', 'src/reader/list_probe.cpp'))) && any(strcmp(a, 'CXXFLAGS=\$CXXFLAGS -std=c++20 $flags'))))" ||
    fail "the MATLAB build's arguments lack the new source or $flags"
fi
echo "the new source reaches the $build build"
