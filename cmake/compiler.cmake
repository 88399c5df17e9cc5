# SPDX-License-Identifier: MIT
# What every target of the project is compiled and linked with: warnings, exact arithmetic,
# reproducible paths, the sanitizers and fuzzing, clang-tidy, the static runtime and the
# hardening. Included from the root before any target exists, so that none can miss them.
include(CMakeDependentOption)
include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)
include(CheckPIESupported)

# --- Warnings: the one place for warning flags (WFCONV_WERROR in the presets).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wconversion)
  if(WFCONV_WERROR)
    add_compile_options(-Werror)
  endif()
endif()

# --- Exact arithmetic. Not warnings: correctness. The sample arithmetic, and the tests' and
# the fuzz target's reference arithmetic, rely on every operation being rounded on its own,
# straight to double: no fused multiply-add (the default of clang, and of g++ in GNU mode, on
# targets that have one) and no value-changing optimisations. GCC and Clang targeting 32-bit
# x86 default to x87 arithmetic, which carries excess precision (FLT_EVAL_METHOD 2); there
# the build selects SSE2 (Pentium 4, Athlon 64 and every later x86 processor).
# The flags, like the library's sources, come from src/library.txt, which every other build of
# the library (setup.py, matlab/) reads too.
function(wfconv_library_list key out)  # KEY's values in src/library.txt, sources as full paths
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/library.txt lines REGEX "^${key}: ")
  list(TRANSFORM lines REPLACE "^${key}: *" "")
  list(TRANSFORM lines PREPEND ${PROJECT_SOURCE_DIR}/ REGEX "^src/")
  set(${out} ${lines} PARENT_SCOPE)
endfunction()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/library.txt)
if(MSVC)
  wfconv_library_list(exact-msvc _wfconv_exact)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  wfconv_library_list(exact-gnu _wfconv_exact)
endif()
separate_arguments(_wfconv_exact NATIVE_COMMAND "${_wfconv_exact}")
add_compile_options(${_wfconv_exact})
set(_wfconv_rounds_once_check [=[
#include <cfloat>
#if FLT_EVAL_METHOD != 0
#error "excess precision"
#endif
int main() { return 0; }
]=])
check_cxx_source_compiles("${_wfconv_rounds_once_check}" WFCONV_DOUBLE_ROUNDS_ONCE)
if(NOT WFCONV_DOUBLE_ROUNDS_ONCE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(CMAKE_REQUIRED_FLAGS "-msse2 -mfpmath=sse")
  check_cxx_source_compiles("${_wfconv_rounds_once_check}" WFCONV_DOUBLE_ROUNDS_ONCE_WITH_SSE2)
  unset(CMAKE_REQUIRED_FLAGS)
  if(WFCONV_DOUBLE_ROUNDS_ONCE_WITH_SSE2)
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
endif()
# --- End of exact arithmetic.

# --- Reproducible: the same source gives the same bytes wherever and whenever it is built.
# No directory of the build in what it makes: __FILE__ (in assertions) and the debug
# information name the sources relative to the tree. Debug builds keep whole paths, for the
# debugger. The build tree may lie inside the source tree; g++ tries the last map first and
# clang++ the longest, so both take its own. (Windows programs: windows.cmake.)
check_cxx_compiler_flag(-ffile-prefix-map=/a=. WFCONV_COMPILER_FILE_PREFIX_MAP)
if(WFCONV_COMPILER_FILE_PREFIX_MAP)
  foreach(dir ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${dir}=.>)
  endforeach()
endif()

# --- Sanitizers: WFCONV_SANITIZE (and WFCONV_FUZZ, which builds on it), AddressSanitizer and
# UndefinedBehaviorSanitizer on every target. Any report ends the run, so a test can never
# pass over one.
if(WFCONV_SANITIZE OR WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "WFCONV_SANITIZE and WFCONV_FUZZ need g++ or clang++")
  endif()
  set(_wfconv_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${_wfconv_sanitizers} -fno-omit-frame-pointer)
  add_link_options(${_wfconv_sanitizers})
endif()
# Sanitizers may also come the usual way, in the compiler or linker flags. Their runtimes
# cannot work in a static program, so the static runtime and the hardening treat such a build
# as one with WFCONV_SANITIZE.
string(TOUPPER "${CMAKE_BUILD_TYPE}" _wfconv_config)
set(WFCONV_ANY_SANITIZER ${WFCONV_SANITIZE})
if(WFCONV_FUZZ)
  set(WFCONV_ANY_SANITIZER ON)
endif()
foreach(_wfconv_flags CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_${_wfconv_config} CMAKE_EXE_LINKER_FLAGS
                      CMAKE_EXE_LINKER_FLAGS_${_wfconv_config})
  if(NOT WFCONV_ANY_SANITIZER AND "${${_wfconv_flags}}" MATCHES "-fsanitize=")
    set(WFCONV_ANY_SANITIZER ON)
    message(STATUS "wfconv: -fsanitize= in ${_wfconv_flags}, so wfconv links dynamically (no static runtime)")
  endif()
endforeach()

# WFCONV_FUZZ: libFuzzer coverage feedback on every target; only the fuzz target itself links
# libFuzzer's main.
if(WFCONV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "WFCONV_FUZZ needs clang++ (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# --- WFCONV_CLANG_TIDY: clang-tidy on every source while it is compiled. The checks live in
# .clang-tidy; any finding fails the build.
if(WFCONV_CLANG_TIDY)
  find_program(WFCONV_CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14 REQUIRED)
  set(CMAKE_CXX_CLANG_TIDY ${WFCONV_CLANG_TIDY_EXE} --warnings-as-errors=*)
endif()

# Whether the compiler makes position-independent programs by default, as it does on most
# distributions: the static PIE needs it, and the hardening asks for PIE only where it does not.
check_cxx_source_compiles("#ifndef __PIE__\n#error not PIE\n#endif\nint main() { return 0; }"
  WFCONV_COMPILER_DEFAULT_PIE)

# --- WFCONV_STATIC_RUNTIME: link the runtime into the program. wfconv runs once per file,
# often thousands of times in a row, and loading shared libraries costs more than converting a
# small file (bench/README.md, Start-up). On Linux the program is a static PIE, with nothing to
# load and its addresses still randomised (WFCONV_STATIC_PIE); elsewhere, or where the C
# library has no static PIE start-up, only the C++ runtime (libstdc++, libgcc) goes in. Not
# where the platform's C++ runtime is always shared (Apple, MSVC), and not with the sanitizers,
# whose runtimes must see every allocation and cannot start in a static program.
cmake_dependent_option(WFCONV_STATIC_RUNTIME "Link the runtime into the wfconv executable" ON
  "CMAKE_CXX_COMPILER_ID MATCHES GNU|Clang;NOT APPLE;NOT WFCONV_ANY_SANITIZER" OFF)

set(WFCONV_STATIC_PIE OFF)
# A build that links every program statically already (the cross toolchains) keeps that.
if(WFCONV_STATIC_RUNTIME AND CMAKE_SYSTEM_NAME STREQUAL "Linux"
   AND NOT CMAKE_EXE_LINKER_FLAGS MATCHES "(^| )-static( |$)")
  check_linker_flag(CXX -static-pie WFCONV_LINKER_STATIC_PIE)
  if(WFCONV_COMPILER_DEFAULT_PIE AND WFCONV_LINKER_STATIC_PIE)
    set(WFCONV_STATIC_PIE ON)
  endif()
endif()

if(WFCONV_STATIC_RUNTIME)
  # A toolchain may come without the runtime's static library.
  check_linker_flag(CXX -static-libstdc++ WFCONV_LINKER_STATIC_RUNTIME)
  if(NOT WFCONV_LINKER_STATIC_RUNTIME AND NOT WFCONV_STATIC_PIE)
    message(WARNING "No static C++ runtime here: wfconv links the shared one (WFCONV_STATIC_RUNTIME=OFF)")
    set(WFCONV_STATIC_RUNTIME OFF)
  endif()
endif()

if(WFCONV_STATIC_RUNTIME)
  # Leaves out the parts of the runtime the program never calls: a smaller file, and
  # fewer pages and relocations to load at every start.
  check_linker_flag(CXX -Wl,--gc-sections WFCONV_LINKER_GC_SECTIONS)
  set(_wfconv_gc_sections $<$<BOOL:${WFCONV_LINKER_GC_SECTIONS}>:-Wl,--gc-sections>)
  # Only the C++ runtime: for the shared library, and for the program where it is no static PIE.
  set(WFCONV_CXX_RUNTIME_FLAGS)
  if(WFCONV_LINKER_STATIC_RUNTIME)
    set(WFCONV_CXX_RUNTIME_FLAGS -static-libstdc++ -static-libgcc ${_wfconv_gc_sections})
  endif()
  if(WFCONV_STATIC_PIE)
    # Not with -static-libstdc++, which turns g++'s link back into a dynamic one.
    set(WFCONV_PROGRAM_RUNTIME_FLAGS -static-pie ${_wfconv_gc_sections})
  else()
    set(WFCONV_PROGRAM_RUNTIME_FLAGS ${WFCONV_CXX_RUNTIME_FLAGS})
    # The runtime's emergency exception pool lives as long as the process; valgrind
    # frees it at exit (so that a leak check sees every block freed) only through the
    # runtime's clean-up hook, which a private runtime must export for it to be found.
    set(_wfconv_freeres -Wl,--export-dynamic-symbol=_ZN9__gnu_cxx9__freeresEv)
    check_linker_flag(CXX ${_wfconv_freeres} WFCONV_LINKER_EXPORTS_SYMBOL)
    if(WFCONV_LINKER_EXPORTS_SYMBOL)
      list(APPEND WFCONV_PROGRAM_RUNTIME_FLAGS ${_wfconv_freeres})
    endif()
  endif()
endif()

# For the executable that is started per file; and for the shared library, which takes a
# private C++ runtime and exports only its C functions, so no clean-up hook.
function(wfconv_static_runtime target)
  if(WFCONV_STATIC_RUNTIME)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE ${WFCONV_PROGRAM_RUNTIME_FLAGS})
    else()
      target_link_options(${target} PRIVATE ${WFCONV_CXX_RUNTIME_FLAGS})
    endif()
  endif()
endfunction()

# --- WFCONV_HARDENING: the protections Debian builds its packages with (hardening=+all), for
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
  # would turn the static PIE back into a dynamic program.
  if(NOT WFCONV_COMPILER_DEFAULT_PIE)
    check_pie_supported(LANGUAGES CXX)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  endif()
endif()
