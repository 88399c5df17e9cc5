#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole test suite, as CI runs it: installs the Debian packages it lacks, then runs each
# step's workflow preset (a preset's build and tests; the front ends' tests on the dev build)
# even after one fails, and ends with one line per step. Exits non-zero if any step failed.
set -uo pipefail
cd "$(dirname "$0")/.."
summary=()  # one line per step, and one for the installs

install_start=$SECONDS
installed=$(tests/install_test_packages.sh) || exit 2
[ -z "$installed" ] || summary+=("$(printf '%-10s %-7s %4d s' installs done $((SECONDS - install_start)))")

# --- Steps: each runs whatever happened before it; the summary says what broke.
failed=0
declare -A outcome=()
step() {  # step NAME [--after STEP]: run NAME's workflow preset, note its result and time
  local name=$1 after=${3-}
  if [ -n "$after" ] && [ "${outcome[$after]-}" != passed ]; then
    outcome[$name]=skipped
    summary+=("$(printf '%-10s skipped (needs %s)' "$name" "$after")")
    return
  fi
  echo "== $name"
  local start=$SECONDS
  if cmake --workflow --preset "$name"; then outcome[$name]=passed; else outcome[$name]=failed; failed=1; fi
  summary+=("$(printf '%-10s %-7s %4d s' "$name" "${outcome[$name]}" $((SECONDS - start)))")
}

step dev               # g++, warnings as errors
# The cross presets compare their program's output with the dev preset's; the front ends'
# tests (ctest --preset dev -L LABEL) run on the dev build.
step windows --after dev   # MinGW-w64 wfconv.exe, tests under Wine
step i686 --after dev      # 32-bit x86
step aarch64 --after dev   # under qemu-user
step s390x --after dev     # big-endian, under qemu-user
step python --after dev    # the module pip-installed into a fresh venv
step dotnet --after dev    # Wfconv.cs under Mono
step browser --after dev   # the page, wfconv.html, in chromium and firefox
step packages --after dev  # the .debs and the Windows zip
step octave --after dev    # wfconv_read, the Octave package
step sanitize              # clang++ with ASan, UBSan and clang-tidy
step fuzz                  # a one-minute libFuzzer run

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
printf '%-10s %-7s %4d s\n' total "$([ "$failed" -eq 0 ] && echo passed || echo failed)" "$SECONDS"
exit "$failed"
