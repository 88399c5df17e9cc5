#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The three packages installed as a user installs them, `apt-get install ./...deb`, into a
# throwaway Debian 12 root that mmdebstrap makes from this machine's apt sources: there the
# command converts the example to the bytes build-dev/wfconv writes, `man wfconv` shows the
# page, a C99 program builds with pkg-config (linked with the shared library, and statically
# with --static) and a C++ one with find_package(wfconv), each printing the command's values, and after `apt-get purge` none of the packages' files is
# left. Needs root and mmdebstrap; elsewhere it says why it skips.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tests/front_ends/need_tools.sh
[ "$(id -u)" -eq 0 ] || skip "making a Debian root needs root"
need mmdebstrap
program=$(realpath "${WFCONV_BUILD_DIR:-build-dev}/wfconv")  # the dev preset's, or the build whose test runs this
version=$(sed -n 's/^project(wfconv VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
work=$(mktemp -d /tmp/wfconv-installed.XXXXXX) && trap 'rm -rf "$work"' EXIT

# What goes in: the packages, the example with the dev build's output of it, the programs.
mkdir "$work/wfconv"
cp build-package/{wfconv,libwfconv1,libwfconv-dev}_"${version}_$arch".deb examples/sine_square.wfm "$work/wfconv"
cp -r examples/c_example examples/read_example "$work/wfconv"
(cd "$work/wfconv" && "$program" sine_square.wfm >report)
for deb in "$work"/wfconv/*.deb; do dpkg-deb -c "$deb"; done |
  awk '{sub(/^\./, "", $6); sub(/\/$/, "", $6); if ($6 != "") print $6}' | sort -u >"$work/wfconv/paths"
cat >"$work/wfconv/in_root.sh" <<'IN_ROOT'
set -eu
cd /root/wfconv
fail() { echo "check_installed: $*" >&2; exit 1; }
present() { while read -r path; do if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi; done <paths; }
present >before
apt-get install -y -q ./wfconv_*.deb ./libwfconv1_*.deb ./libwfconv-dev_*.deb >apt.log 2>&1 ||
  { cat apt.log; fail "apt-get cannot install the packages"; }
mkdir run && cp sine_square.wfm run && (cd run && wfconv sine_square.wfm >report)
for file in report sine_square.wfm1.txt sine_square.wfm2.txt; do
  cmp "$file" "run/$file" || fail "the installed wfconv writes another $file"
done
name_line="wfconv - convert a two-channel waveform file into one text file per channel"
MANWIDTH=200 man wfconv 2>&1 | grep -q "^ *$name_line$" || fail "man wfconv shows no page"
# The example programs print each channel's count and then its lines, with LF endings.
for channel in 1 2; do
  echo "$(wc -l <sine_square.wfm$channel.txt) values" && tr -d '\r' <sine_square.wfm$channel.txt
done >values
cc -std=c99 -Wall -Werror c_example/read_values.c $(pkg-config --cflags --libs wfconv-c) -o read_values ||
  fail "the C program does not build with pkg-config"
./read_values sine_square.wfm | cmp - values || fail "the C program reads other values"
cc -std=c99 -Wall -Werror c_example/read_values.c $(pkg-config --static --cflags --libs wfconv-c) -static \
  -o read_values_static || fail "the C program does not link statically with pkg-config --static"
./read_values_static sine_square.wfm | cmp - values || fail "the static C program reads other values"
{ cmake -S read_example -B read_example/build && cmake --build read_example/build; } >cmake.log 2>&1 ||
  { cat cmake.log; fail "the C++ program does not build with find_package(wfconv)"; }
read_example/build/read_example sine_square.wfm | cmp - values || fail "the C++ program reads other values"
apt-get purge -y -q wfconv libwfconv1 libwfconv-dev >apt.log 2>&1 || { cat apt.log; fail "apt-get purge failed"; }
present | diff before - >/dev/null || { present | comm -13 before -; fail "left after apt-get purge (above)"; }
IN_ROOT

# This machine's sources and its settings for them (a dated snapshot's Release files expire);
# its own certificate authorities, behind which a network's mirrors may sit.
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && grep -q '^[^#[:space:]]' "$file" && sources+=("$file")
done
options=()
while read -r option; do options+=(--aptopt="$option"); done < <(apt-config dump |
  grep -E '^Acquire::(Check-Valid-Until|Check-Date) ')
hooks=()
certificates=(/usr/local/share/ca-certificates/*)
if [ -e "${certificates[0]}" ]; then
  hooks+=(--customize-hook="copy-in ${certificates[*]} /usr/local/share/ca-certificates"
    --customize-hook='chroot "$1" update-ca-certificates >/dev/null')
fi
# The apt variant (essential packages and apt), with what the checks run; dpkg need not sync
# files in a root that is thrown away. /dev/null: a temporary root, removed at the end.
mmdebstrap --variant=apt --include=ca-certificates,man-db,g++,cmake,make,pkgconf \
  --dpkgopt=force-unsafe-io "${options[@]}" "${hooks[@]}" \
  --customize-hook="copy-in $work/wfconv /root" --customize-hook='chroot "$1" sh /root/wfconv/in_root.sh' \
  bookworm /dev/null "${sources[@]}" 2>"$work/mmdebstrap.log" ||
  { tail -n 20 "$work/mmdebstrap.log"; echo "check_installed: failed (above)" >&2; exit 1; }
echo "check_installed: in a Debian 12 root, apt-get installs the packages; they convert, build and purge cleanly"
