#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The interface of libwfconv.so.1 against the one of the release abi/ records (its name says which):
# abi-dumper reads the dev preset's library (a debug build, whose debug information
# describes the functions and types), abi-compliance-checker compares. Anything short of
# full backward compatibility, warnings included (-strict), fails; added functions are fine.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tests/front_ends/need_tools.sh
need abi-dumper abi-compliance-checker
recorded=$(echo abi/libwfconv1-*.dump) && released=${recorded#abi/libwfconv1-} && released=${released%.dump}
build=${WFCONV_BUILD_DIR:-build-dev}  # the dev preset's, or the build whose test runs this
work=$build/abi
fail() { echo "check_abi: $*" >&2; exit 1; }
library=$(readlink -f "$build/src/c_api/libwfconv.so.1") ||
  fail "no $build/src/c_api/libwfconv.so.1: build the dev preset first"
mkdir -p $work
abi-dumper "$library" -o $work/current.dump -lver current -public-headers include/wfconv >$work/abi-dumper.log 2>&1 ||
  fail "abi-dumper failed: $work/abi-dumper.log"
if ! abi-compliance-checker -l libwfconv -old $recorded -new $work/current.dump -strict \
    -report-path $work/compat_report.html >$work/abi-compliance-checker.log 2>&1; then
  grep -i "compatibility:\|problems" $work/abi-compliance-checker.log >&2 || true
  fail "libwfconv.so.1 is not backward compatible with $released; the report: $work/compat_report.html"
fi
echo "check_abi: libwfconv.so.1 keeps the $released interface (report: $work/compat_report.html)"
