#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that the test suite needs and this machine lacks, and prints
# their names on standard output (apt's own words go to standard error). Exits 2 if it cannot.
set -uo pipefail
cd "$(dirname "$0")/.."
# The list lives in tests/debian-packages.txt. Elsewhere than on Debian or Ubuntu, install
# their equivalents first; the tests then say what is still missing.
mapfile -t packages < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' tests/debian-packages.txt)
missing=()
if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "== Not a Debian-like system: install the equivalents of tests/debian-packages.txt" >&2
else
  # A name may also be one that an installed package provides: NodeSource's nodejs
  # provides npm, and installing Debian's npm beside it would remove it.
  provided=$(dpkg-query -W -f='${db:Status-Status}\t${Provides}\n' | awk -F'\t' '$1 == "installed" {print $2}' |
    tr ',' '\n' | sed -e 's/ *(.*//' -e 's/^ *//')
  declare -A installed=()
  while read -r status package; do  # one query; a package dpkg never saw is not listed
    [ "$status" = installed ] && installed[$package]=1
  done < <(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${packages[@]}" 2>/dev/null)
  for package in "${packages[@]}"; do
    [ -n "${installed[$package]-}" ] || grep -qxF "$package" <<<"$provided" || missing+=("$package")
  done
fi
if [ ${#missing[@]} -gt 0 ]; then
  install_line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    # CI's throwaway machines: dpkg need not sync every file it unpacks. Through sudo,
    # on someone's own machine, it keeps its safe default.
    as_root=()
    unsafe_io=(-o Dpkg::Options::=--force-unsafe-io)
  elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
    unsafe_io=()
  else
    echo "tests/install_test_packages.sh: missing Debian packages; as root, run:" >&2
    echo "  $install_line" >&2
    exit 2
  fi
  echo "== Installing ${missing[*]}" >&2
  # A fresh image has no package lists yet; another apt run may hold the lock.
  apt_options=(-q -o DPkg::Lock::Timeout=900)
  if ! { "${as_root[@]}" apt-get "${apt_options[@]}" update &&
         "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" \
           "${unsafe_io[@]}" install -y --no-install-recommends "${missing[@]}"; } >&2; then
    echo "tests/install_test_packages.sh: installing failed; as root, run:" >&2
    echo "  $install_line" >&2
    exit 2
  fi
  echo "${missing[*]}"
fi
