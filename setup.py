# SPDX-License-Identifier: MIT
"""Builds wfconv._wfconv: the binding compiled together with the converter's core.

Metadata lives in pyproject.toml; this file holds what needs code: the source list
and the version, both taken from the C++ project so that neither is kept twice.
"""

import re
import sys
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

# The library and the text, found rather than listed: the command's folders and the
# shared library's are other front ends, the module is another one.
core_sources = sorted(
    path.as_posix() for path in Path("src").rglob("*.cpp") if path.parts[1] in ("reader", "text"))
# setuptools rebuilds only when a file it is told of is newer than the module.
headers = sorted(path.as_posix() for folder in ("src", "include") for path in Path(folder).rglob("*.hpp"))

# The exact sample arithmetic needs each operation rounded on its own: no fused
# multiply-add, no reassociation.
exact_arithmetic = ["/fp:precise"] if sys.platform == "win32" else ["-ffp-contract=off", "-fno-fast-math"]

version = re.search(r"project\(wfconv VERSION ([0-9.]+)", Path("CMakeLists.txt").read_text()).group(1)

ParallelCompile("WFCONV_BUILD_JOBS").install()

setup(
    version=version,
    package_dir={"": "python"},
    packages=["wfconv"],
    package_data={"wfconv": ["py.typed", "*.pyi"]},
    ext_modules=[
        Pybind11Extension(
            "wfconv._wfconv",
            ["python/_wfconv.cpp", *core_sources],
            depends=headers,
            include_dirs=["src", "include"],
            cxx_std=20,
            extra_compile_args=exact_arithmetic,
            define_macros=[("WFCONV_VERSION", f'"{version}"')],
        )
    ],
    # Out of the way of a CMake build directory named build.
    options={"build": {"build_base": "build-python/setuptools"}},
)
