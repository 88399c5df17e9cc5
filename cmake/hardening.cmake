# SPDX-License-Identifier: MIT
# WFCONV_HARDENING: the protections Debian builds its packages with (hardening=+all), for
# every Linux build of the project and not only its packages. Each costs the conversion
# nothing measurable (bench/README.md, Hardening):
# - a stack protector in every function with an array on its stack;
# - stack-clash protection: a large stack frame is probed page by page, so it cannot
#   jump over the guard page into other memory;
# - control-flow protection: indirect branches may only land on marked instructions
#   (x86 CET; other targets have no such flag and go without). The linker marks a file
#   only if every object in it is marked, and Debian 12's C library start files and
#   libc.a are not, so there the mark appears only once the C library has it;
# - _FORTIFY_SOURCE=2: the C library checks the sizes it can see in memcpy, snprintf and
#   the like; it needs optimisation, so not in Debug builds;
# - relocations read-only once the program has started, all of them resolved at start
#   (-z relro -z now), and position-independent programs, whose addresses are random.
# Not with the sanitizers, which check all of this and more and whose runtimes the
# fortified C library calls would bypass; not on Windows or WebAssembly, where none of
# these flags exists.
include(CMakeDependentOption)
include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)
include(CheckPIESupported)
cmake_dependent_option(WFCONV_HARDENING "Build with the stack, control-flow and relocation protections" ON
  "CMAKE_SYSTEM_NAME STREQUAL Linux;CMAKE_CXX_COMPILER_ID MATCHES GNU|Clang;NOT WFCONV_ANY_SANITIZER" OFF)

if(WFCONV_HARDENING)
  foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "WFCONV_COMPILER_HAS${flag}" have_flag)
    check_cxx_compiler_flag(${flag} ${have_flag})
    if(${have_flag})
      add_compile_options(${flag})
    endif()
  endforeach()

  # A distribution's compiler may fortify by default already, or its flags ask for a
  # level of their own; a second definition would only be warned about.
  set(CMAKE_REQUIRED_FLAGS -O2)
  check_cxx_source_compiles("#include <cstdio>\n#ifdef _FORTIFY_SOURCE\n#error\n#endif\nint main() {}"
    WFCONV_FORTIFY_NOT_PREDEFINED)
  unset(CMAKE_REQUIRED_FLAGS)
  if(WFCONV_FORTIFY_NOT_PREDEFINED AND NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  endif()

  check_linker_flag(CXX "LINKER:-z,relro,-z,now" WFCONV_LINKER_RELRO_NOW)
  if(WFCONV_LINKER_RELRO_NOW)
    add_link_options("LINKER:-z,relro,-z,now")
  endif()

  # Only where the compiler does not make PIE by default: CMake's -pie on the link line
  # would turn the static PIE (static_runtime.cmake) back into a dynamic program.
  check_cxx_source_compiles("#ifndef __PIE__\n#error not PIE\n#endif\nint main() { return 0; }"
    WFCONV_COMPILER_DEFAULT_PIE)
  if(NOT WFCONV_COMPILER_DEFAULT_PIE)
    check_pie_supported(LANGUAGES CXX)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  endif()
endif()
