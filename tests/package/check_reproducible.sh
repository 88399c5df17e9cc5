#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Reproducible packages: the working tree, copied to another directory and packed there later
# under another umask and time zone, gives the same .deb files and zip as build-package and
# build-package-windows, bit for bit (SOURCE_DATE_EPOCH unset: both take the commit's date);
# no file in them names the directory it was built in. On a difference, diffoscope says where.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
unset SOURCE_DATE_EPOCH
other=$(mktemp -d /tmp/wfconv-again.XXXXXX) && trap 'rm -rf "$other"' EXIT
mkdir "$other/src"
git ls-files -z --cached --others --exclude-standard |
  tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$other/src"
echo "gitdir: $(git rev-parse --absolute-git-dir)" >"$other/src/.git"  # the same commit, for its date
if ! (cd "$other/src" && umask 0002 && export TZ=JST-9 &&
      cmake --workflow --preset package && cmake --workflow --preset package-windows) >"$other/build.log" 2>&1; then
  tail -n 30 "$other/build.log"
  echo "check_reproducible: packing again in $other/src failed (above)" >&2
  exit 1
fi

status=0
for built in build-package/*.deb build-package-windows/*.zip; do
  again=$other/src/$built
  if ! cmp -s "$built" "$again"; then
    echo "check_reproducible: $built differs when packed again:" >&2
    diffoscope --no-progress "$built" "$again" || true
    status=1
  fi
  mkdir "$other/contents" && case $built in
    *.deb) dpkg -x "$built" "$other/contents" ;;
    *.zip) /usr/bin/python3 -m zipfile -e "$built" "$other/contents" ;;
  esac
  named=$(grep -rlF -e "$PWD" -e "$other" "$other/contents")
  [ -z "$named" ] || { echo "check_reproducible: $built names its build directory in: $named" >&2; status=1; }
  rm -rf "$other/contents"
done
[ $status -ne 0 ] || echo "check_reproducible: the packages came out the same, bit for bit, from $other/src"
exit $status
