#!/bin/sh
# SPDX-License-Identifier: MIT
# project(wfconv VERSION ...) is the only place a version is written: any other X.Y.Z in the
# tracked files fails, not in a longer dotted number (1.2.3.4; 1.5 ms has two parts). NEWS.md
# and abi/ tell of releases; npm's files pin other projects'. Usage: one_version.sh SOURCE_DIR
cd "$1" && git rev-parse --git-dir >/dev/null 2>&1 || { echo "skipped: $1 is no git checkout"; exit 77; }
found=$(git grep -nIP '(?<![0-9])(?<![0-9]\.)[0-9]+\.[0-9]+\.[0-9]+(?!\.?[0-9])' -- . ':!NEWS.md' ':!abi/' \
          ':!tests/browser/package.json' ':!tests/browser/package-lock.json' |
        grep -v '^CMakeLists.txt:[0-9]*:project(wfconv VERSION ')
[ -z "$found" ] || { printf 'A version written outside project(wfconv VERSION ...):\n%s\n' "$found"; exit 1; }
echo "one version: project()'s"
