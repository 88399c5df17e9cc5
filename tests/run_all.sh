#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole test suite, as CI runs it: installs the Debian packages it lacks, then runs
# every step (a preset's build and tests, the Python module's tests) even after one fails,
# and ends with one line per step. Exits non-zero if any step failed.
set -uo pipefail
cd "$(dirname "$0")/.."
summary=()  # one line per step, and one for the installs

# --- Packages: the list lives in tests/debian-packages.txt. Elsewhere than on Debian or
# Ubuntu, install their equivalents first; the steps then say what is still missing.
mapfile -t packages < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' tests/debian-packages.txt)
missing=()
if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "== Not a Debian-like system: install the equivalents of tests/debian-packages.txt"
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
    echo "tests/run_all.sh: missing Debian packages; as root, run:" >&2
    echo "  $install_line" >&2
    exit 2
  fi
  echo "== Installing ${missing[*]}"
  install_start=$SECONDS
  # A fresh image has no package lists yet; another apt run may hold the lock.
  apt_options=(-q -o DPkg::Lock::Timeout=900)
  if ! { "${as_root[@]}" apt-get "${apt_options[@]}" update &&
         "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" \
           "${unsafe_io[@]}" install -y --no-install-recommends "${missing[@]}"; }; then
    echo "tests/run_all.sh: installing failed; as root, run:" >&2
    echo "  $install_line" >&2
    exit 2
  fi
  summary+=("$(printf '%-10s %-7s %4d s' installs done $((SECONDS - install_start)))")
fi

# --- Steps: each runs whatever happened before it; the summary says what broke.
failed=0
declare -A outcome=()
step() {  # step NAME [--after STEP] COMMAND...: run COMMAND, note its result and time
  local name=$1 after=""
  shift
  if [ "${1-}" = --after ]; then after=$2; shift 2; fi
  if [ -n "$after" ] && [ "${outcome[$after]-}" != passed ]; then
    outcome[$name]=skipped
    summary+=("$(printf '%-10s skipped (needs %s)' "$name" "$after")")
    return
  fi
  echo "== $name"
  local start=$SECONDS
  if "$@"; then outcome[$name]=passed; else outcome[$name]=failed; failed=1; fi
  summary+=("$(printf '%-10s %-7s %4d s' "$name" "${outcome[$name]}" $((SECONDS - start)))")
}

python_tests() {  # the module pip-installed offline into a fresh venv, held to the dev build's program
  rm -rf build-python/venv &&
    /usr/bin/python3 -m venv --system-site-packages build-python/venv &&
    build-python/venv/bin/pip install --quiet --no-index --no-build-isolation . &&
    WFCONV_EXE="$PWD/build-dev/wfconv" build-python/venv/bin/python -m pytest -q  # status 5, no tests, fails too
}

browser_test() {  # the page built to WebAssembly, in headless chromium and firefox, held to the dev build's program
  cmake --workflow --preset web &&
    g++ -std=c++20 -Iexamples tests/fuzz/make_seeds.cpp -o build-web/make_seeds &&
    rm -rf build-web/seeds && build-web/make_seeds build-web/seeds &&
    npm ci --prefix tests/browser --no-audit --no-fund --loglevel=error || return
  local browser status=0 start
  for browser in chromium firefox; do  # both run, whichever fails
    start=$SECONDS
    node tests/browser/page_test.mjs build-web/wfconv.html build-dev/wfconv --browser "$browser" \
      examples/sine_square.wfm build-web/seeds/*.wfm || status=1
    echo "$browser: $((SECONDS - start)) s"
  done
  return "$status"
}

dotnet_test() {  # Wfconv.dll built by Mono's mcs beside only the library's runtime file, held to the C interface
  local out=build-dotnet
  rm -rf $out && mkdir -p $out/lib && cp -L build-dev/src/c_api/libwfconv.so.1 dotnet/Wfconv.dll.config $out/lib/ &&
    mcs -target:library -warnaserror -out:$out/lib/Wfconv.dll dotnet/Wfconv.cs &&
    mcs -warnaserror -r:$out/lib/Wfconv.dll -out:$out/lib/WfconvTest.exe tests/dotnet/WfconvTest.cs &&
    cc -std=c99 -Wall -Werror -Iinclude tests/dotnet/dump_waveform.c $out/lib/libwfconv.so.1 -o $out/dump &&
    g++ -std=c++20 -Iexamples tests/fuzz/make_seeds.cpp -o $out/make_seeds && $out/make_seeds $out/seeds &&
    LD_LIBRARY_PATH=$PWD/$out/lib mono $out/lib/WfconvTest.exe $out/dump $out/work examples/sine_square.wfm $out/seeds/*
}

octave_tests() {  # wfconv_read pkg-installed into build-octave/prefix, held to the C interface and the command
  local files=build-octave/files file
  rm -rf build-octave build-package/matlab/wfconv-*.tar.gz && mkdir -p $files build-octave/prefix &&
    cmake --preset package >/dev/null && cmake --build --preset octave-package &&
    g++ -std=c++20 -Iexamples tests/fuzz/make_seeds.cpp -o build-octave/make_seeds && build-octave/make_seeds $files &&
    cp examples/sine_square.wfm $files/ && head -c 3000 examples/sine_square.wfm >$files/cut.wfm &&
    cp examples/sine_square.wfm "$files/amplitude-µV.wfm" || return
  for file in $files/*.wfm $files/missing.wfm; do build-dev/wfconv "$file" >"$file.out"; done  # status 2 or 3 too
  /usr/bin/python3 tests/octave/dump_c_values.py build-dev/src/c_api/libwfconv.so.1 $files/*.wfm $files/missing.wfm &&
    octave --no-gui --norc --no-history --quiet --no-window-system tests/octave/test_wfconv_read.m \
      build-package/matlab/wfconv-*.tar.gz build-octave
}

package_tests() {  # the .debs and the Windows zip, made as README's Packages says, then checked
  cmake --workflow --preset package && cmake --workflow --preset package-windows || return 1
  # The install into a Debian root mostly waits on downloads: beside the rebuild, which computes.
  tests/package/check_installed.sh >build-package/check_installed.log 2>&1 &
  local installed=$! status=0
  tests/package/check_packages.sh || status=1
  tests/package/check_abi.sh || status=1
  tests/package/check_reproducible.sh || status=1
  wait $installed || status=1
  cat build-package/check_installed.log
  return $status
}

step dev cmake --workflow --preset dev                         # g++, warnings as errors
# The cross presets compare their program's output with the dev preset's.
step windows --after dev cmake --workflow --preset windows     # MinGW-w64 wfconv.exe, tests under Wine
step i686 --after dev cmake --workflow --preset i686           # 32-bit x86
step aarch64 --after dev cmake --workflow --preset aarch64     # under qemu-user
step s390x --after dev cmake --workflow --preset s390x         # big-endian, under qemu-user
step python --after dev python_tests
step dotnet --after dev dotnet_test                            # Wfconv.cs under Mono
step browser --after dev browser_test                          # the page, wfconv.html, in chromium and firefox
step packages --after dev package_tests                        # the .deb and the Windows zip
step octave --after dev octave_tests                           # wfconv_read, the Octave package
step sanitize cmake --workflow --preset sanitize               # clang++ with ASan, UBSan and clang-tidy
step fuzz cmake --workflow --preset fuzz                       # a one-minute libFuzzer run

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
printf '%-10s %-7s %4d s\n' total "$([ "$failed" -eq 0 ] && echo passed || echo failed)" "$SECONDS"
exit "$failed"
