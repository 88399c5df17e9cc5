# SPDX-License-Identifier: MIT
# WFCONV_STATIC_RUNTIME: link the runtime into the program. wfconv runs once per file,
# often thousands of times in a row, and loading shared libraries costs more than
# converting a small file (bench/README.md, Start-up). On Linux the program is a static
# PIE, with nothing to load and its addresses still randomised (WFCONV_STATIC_PIE);
# elsewhere, or where the C library has no static PIE start-up, only the C++ runtime
# (libstdc++, libgcc) goes in. Not where the platform's C++ runtime is always shared
# (Apple, MSVC), and not with the sanitizers (WFCONV_SANITIZE or -fsanitize= in the flags),
# whose runtimes must see every allocation and cannot start in a static program.
include(CMakeDependentOption)
include(CheckLinkerFlag)
cmake_dependent_option(WFCONV_STATIC_RUNTIME "Link the runtime into the wfconv executable" ON
  "CMAKE_CXX_COMPILER_ID MATCHES GNU|Clang;NOT APPLE;NOT WFCONV_ANY_SANITIZER" OFF)

set(WFCONV_STATIC_PIE OFF)
# A build that links every program statically already (the cross toolchains) keeps that.
if(WFCONV_STATIC_RUNTIME AND CMAKE_SYSTEM_NAME STREQUAL "Linux"
   AND NOT CMAKE_EXE_LINKER_FLAGS MATCHES "(^| )-static( |$)")
  # The objects must be position-independent already, as compilers make them by default
  # on most distributions.
  include(CheckCXXSourceCompiles)
  check_cxx_source_compiles("#ifndef __PIE__\n#error not PIE\n#endif\nint main() { return 0; }"
    WFCONV_COMPILER_DEFAULT_PIE)
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
