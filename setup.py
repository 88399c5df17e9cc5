# SPDX-License-Identifier: MIT
"""Builds wfconv._wfconv: the binding compiled together with the library's reader.

Metadata lives in pyproject.toml; this file holds what needs code: the sources, the flags
and the version, all taken from the C++ project so that none is kept twice.
"""

import re
import sys
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup


def library_list(*keys):
    """The values of src/library.txt's lines with these keys: the list every build reads."""
    lines = Path("src/library.txt").read_text().splitlines()
    return [value.strip() for key, _, value in (line.partition(":") for line in lines) if key in keys]


# The reader only: the module calls nothing of the command's text.
library_sources = library_list("reader", "reader-files")
# setuptools rebuilds only when a file it is told of is newer than the module.
headers = sorted(path.as_posix() for folder in ("src/reader", "include") for path in Path(folder).rglob("*.hpp"))
exact_arithmetic = library_list("exact-msvc" if sys.platform == "win32" else "exact-gnu")[0].split()

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
            ["python/_wfconv.cpp", *library_sources],
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
