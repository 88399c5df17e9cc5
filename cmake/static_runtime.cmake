# WFCONV_STATIC_RUNTIME: link the C++ runtime (libstdc++, libgcc) into the program.
# wfconv runs once per file, often thousands of times in a row, and loading the
# shared C++ runtime costs more than converting a small file (bench/README.md); the C
# library stays shared, as it is for any C program. Not where the platform's C++
# runtime is always shared (Apple, MSVC), and not with the sanitizers, whose runtimes
# must see every allocation.
include(CMakeDependentOption)
include(CheckLinkerFlag)
cmake_dependent_option(WFCONV_STATIC_RUNTIME "Link the C++ runtime into the wfconv executable" ON
  "CMAKE_CXX_COMPILER_ID MATCHES GNU|Clang;NOT APPLE;NOT WFCONV_SANITIZE;NOT WFCONV_FUZZ" OFF)

if(WFCONV_STATIC_RUNTIME)
  # A toolchain may come without the runtime's static library.
  check_linker_flag(CXX -static-libstdc++ WFCONV_LINKER_STATIC_RUNTIME)
  if(NOT WFCONV_LINKER_STATIC_RUNTIME)
    message(WARNING "No static C++ runtime here: wfconv links the shared one (WFCONV_STATIC_RUNTIME=OFF)")
    set(WFCONV_STATIC_RUNTIME OFF)
  endif()
endif()

if(WFCONV_STATIC_RUNTIME)
  set(WFCONV_STATIC_RUNTIME_FLAGS -static-libstdc++ -static-libgcc)
  # Leaves out the parts of the runtime the program never calls: an eighth of the
  # size, and fewer pages and relocations to load at every start.
  check_linker_flag(CXX -Wl,--gc-sections WFCONV_LINKER_GC_SECTIONS)
  if(WFCONV_LINKER_GC_SECTIONS)
    list(APPEND WFCONV_STATIC_RUNTIME_FLAGS -Wl,--gc-sections)
  endif()
  # The runtime's emergency exception pool lives as long as the process; valgrind
  # frees it at exit (so that a leak check sees every block freed) only through the
  # runtime's clean-up hook, which a private runtime must export for it to be found.
  set(_wfconv_freeres -Wl,--export-dynamic-symbol=_ZN9__gnu_cxx9__freeresEv)
  check_linker_flag(CXX ${_wfconv_freeres} WFCONV_LINKER_EXPORTS_SYMBOL)
  set(WFCONV_FREERES_FLAGS)
  if(WFCONV_LINKER_EXPORTS_SYMBOL)
    set(WFCONV_FREERES_FLAGS ${_wfconv_freeres})
  endif()
endif()

# For the executables that are started per file: the program, and the benchmark's
# baseline, which must be linked the same way to be a fair comparison. And for the
# shared library, which exports only its C functions and so no clean-up hook.
function(wfconv_static_runtime target)
  if(WFCONV_STATIC_RUNTIME)
    target_link_options(${target} PRIVATE ${WFCONV_STATIC_RUNTIME_FLAGS})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE ${WFCONV_FREERES_FLAGS})
    endif()
  endif()
endfunction()
