#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The page built to WebAssembly (the web preset), in headless BROWSER, held to the build's program.
#   check_page.sh setup WORK_DIRECTORY SEEDS: the page, puppeteer-core and the files
#   check_page.sh chromium|firefox WORK_DIRECTORY WFCONV
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
. tests/front_ends/need_tools.sh
need node npm
if [ "$1" = setup ]; then
  cmake --workflow --preset web &&
    rm -rf "$2/seeds" && "$3" "$2/seeds" &&
    npm ci --prefix tests/browser --no-audit --no-fund --loglevel=error
  exit
fi
case $1 in
  chromium) [ -x "${CHROMIUM:-/usr/bin/chromium}" ] || skip "no chromium at ${CHROMIUM:-/usr/bin/chromium}" ;;
  firefox) [ -x "${FIREFOX:-/usr/bin/firefox-esr}" ] || skip "no firefox-esr at ${FIREFOX:-/usr/bin/firefox-esr}" ;;
esac
node tests/browser/page_test.mjs build-web/wfconv.html "$3" --browser "$1" examples/sine_square.wfm "$2"/seeds/*.wfm
