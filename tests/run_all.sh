#!/usr/bin/env bash
# The whole test suite, as CI runs it: every preset's build and tests in turn. The
# cross presets compare their program's output with the dev preset's, built first.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset dev        # g++, warnings as errors
cmake --workflow --preset windows    # MinGW-w64 wfconv.exe, tests under Wine
cmake --workflow --preset i686       # 32-bit x86, tests run natively
cmake --workflow --preset aarch64    # tests under qemu-user
cmake --workflow --preset s390x      # big-endian, tests under qemu-user
# The Python module, pip-installed offline into a fresh venv, held to the dev build's program.
rm -rf build-python/venv && /usr/bin/python3 -m venv --system-site-packages build-python/venv
build-python/venv/bin/pip install --quiet --no-index --no-build-isolation .
WFCONV_EXE="$PWD/build-dev/wfconv" build-python/venv/bin/python -m pytest -q  # status 5, no tests, fails too
cmake --workflow --preset sanitize   # clang++ with ASan, UBSan and clang-tidy
cmake --workflow --preset fuzz       # a one-minute libFuzzer run
