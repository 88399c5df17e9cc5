#!/bin/sh
# SPDX-License-Identifier: MIT
# A source named in src/library.txt and nowhere else reaches BUILD, compiled with the exact-
# arithmetic flags named there too: python, the module's compile commands (setup.py, dry
# run); octave, the Octave package's (its Makefile, dry run) and the MATLAB build's mex
# arguments. Usage: new_source_reaches_builds.sh python|octave SOURCE_DIR CMAKE
set -u
build=$1 root=$2 cmake=$3
case $build in
  python) /usr/bin/python3 -c 'import pybind11, setuptools' 2>/dev/null ||
            { echo "skipped: /usr/bin/python3 lacks pybind11 or setuptools"; exit 77; } ;;
  octave) command -v mkoctfile >/dev/null && command -v octave >/dev/null ||
            { echo "skipped: no mkoctfile or octave"; exit 77; } ;;
esac
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
cp -R "$root/src" "$root/include" "$root/matlab" "$root/python" "$root/CMakeLists.txt" \
  "$root/setup.py" "$root/pyproject.toml" "$root/LICENSE" "$tree/" || exit 1
echo 'int wfconv_list_probe() { return 0; }' >"$tree/src/reader/list_probe.cpp"
echo 'reader: src/reader/list_probe.cpp' >>"$tree/src/library.txt"
flags=$(sed -n 's/^exact-gnu: *//p' "$tree/src/library.txt")
cd "$tree" || exit 1

fail() { echo "$*"; exit 1; }
if [ "$build" = python ]; then
  /usr/bin/python3 setup.py -n build_ext >log 2>&1 || { cat log; fail "setup.py failed"; }
  grep -F 'src/reader/list_probe.cpp' log | grep -qF -- "$flags" ||
    { cat log; fail "setup.py does not compile the new source with $flags"; }
else
  mkdir out && "$cmake" -D SOURCE_DIR="$tree" -D WORK_DIR="$tree/out" -D VERSION=probe \
    -P matlab/make_octave_package.cmake && tar xzf out/wfconv-probe.tar.gz -C out || fail "no package"
  grep -q -- "^export CXXFLAGS.*$flags" out/wfconv-probe/src/Makefile || fail "the package's Makefile lacks $flags"
  make -n -C out/wfconv-probe/src | grep -q 'list_probe\.cpp' || fail "the package's Makefile does not compile the new source"
  octave --no-gui --norc --quiet --eval "addpath('matlab'); a = wfconv_mex_arguments('$tree', 'g++');
    exit(~(any(strcmp(a, fullfile('$tree', 'src/reader/list_probe.cpp'))) && any(strcmp(a, 'CXXFLAGS=\$CXXFLAGS -std=c++20 $flags'))))" ||
    fail "the MATLAB build's arguments lack the new source or $flags"
fi
echo "the new source reaches the $build build"
