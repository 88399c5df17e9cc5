# SPDX-License-Identifier: MIT
# GoogleTest for the test suite: the installed package for a native build; for a
# cross build, which has no package for its target, built from Debian's source
# package (googletest) with the target's compiler.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
  return()
endif()

set(WFCONV_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${WFCONV_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "cross builds of the tests need GoogleTest's sources in ${WFCONV_GOOGLETEST_SOURCE} "
                      "(Debian: apt-get install googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${WFCONV_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its code is not ours to hold to the project's warnings. (It names its targets
# GTest::gtest and GTest::gtest_main itself, as the package does.)
target_compile_options(gtest PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-w>)
target_compile_options(gtest_main PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-w>)
