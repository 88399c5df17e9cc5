#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The module pip-installed offline into a fresh venv, held to the build's program and C interface.
#   check_module.sh WORK_DIRECTORY WFCONV LIBWFCONV_SO
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
. tests/front_ends/need_tools.sh
/usr/bin/python3 -c 'import ensurepip, numpy, pybind11, pytest, setuptools, wheel' 2>/dev/null ||
  skip "the Python module needs python3-venv, -numpy, -pybind11, -pytest, -setuptools and -wheel"
venv=$1/venv
rm -rf "$venv" &&
  /usr/bin/python3 -m venv --system-site-packages "$venv" &&
  "$venv/bin/pip" install --quiet --no-index --no-build-isolation . &&
  WFCONV_EXE=$2 WFCONV_SHARED_LIBRARY=$3 "$venv/bin/python" -m pytest -q  # status 5, no tests, fails too
