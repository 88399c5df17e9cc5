#!/usr/bin/env bash
# The whole test suite, as CI runs it: every preset's build and tests in turn.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset dev        # g++, warnings as errors
cmake --workflow --preset sanitize   # clang++ with ASan, UBSan and clang-tidy
cmake --workflow --preset fuzz       # a one-minute libFuzzer run
