# SPDX-License-Identifier: MIT
# Sourced by the front ends', the page's and the packages' tests: a test that lacks a tool
# says which and exits 77, which CTest reports as skipped (SKIP_RETURN_CODE 77).
skip() { echo "skipped: $*"; exit 77; }
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (tests/debian-packages.txt)"
  done
}
