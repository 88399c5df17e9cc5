# SPDX-License-Identifier: MIT
# Installs into a fresh prefix, then builds examples/read_example against the installed
# package twice, through find_package(wfconv) and through pkg-config (where installed),
# and examples/c_example as C99 against the shared library (the only build for Windows) and,
# through pkg-config --static, the static one;
# runs each on a copy of the bundled example, the C program on a cut copy too, and compares
# what it prints with the channel files of the built command. Only include/wfconv's
# headers may be installed, and both builds see nothing of the source tree.
set(prefix ${WORK_DIR}/prefix)
set(run_dir ${WORK_DIR}/run)
set(cut_dir ${WORK_DIR}/cut)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${prefix} ${run_dir} ${cut_dir})

function(run_checked)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${out}${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

set(config_args)
if(CONFIG)
  set(config_args --config ${CONFIG})
endif()
run_checked(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} ${config_args})

file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
file(GLOB_RECURSE public RELATIVE ${SOURCE_DIR}/include ${SOURCE_DIR}/include/wfconv/*.h*)
list(SORT headers)
list(SORT public)
if(NOT headers STREQUAL public)
  message(FATAL_ERROR "installed headers: ${headers}; public headers: ${public}")
endif()
foreach(file cmake/wfconv/wfconvConfig.cmake cmake/wfconv/wfconvConfigVersion.cmake pkgconfig/wfconv.pc)
  if(NOT EXISTS ${prefix}/${LIBDIR}/${file})
    message(FATAL_ERROR "not installed: ${prefix}/${LIBDIR}/${file}")
  endif()
endforeach()

# What the example must print: each channel file's line count and lines, without CR.
get_filename_component(name ${EXAMPLE} NAME)
file(COPY ${EXAMPLE} DESTINATION ${run_dir})
execute_process(COMMAND head -c 5683 ${EXAMPLE} OUTPUT_FILE ${cut_dir}/${name})  # 25.5 samples into block 3 of 2
foreach(dir ${cut_dir} ${run_dir})
  execute_process(COMMAND ${EMULATOR} ${BUILT_PROGRAM} ${name} WORKING_DIRECTORY ${dir} OUTPUT_QUIET)
  set(expected "")
  file(TOUCH ${dir}/${name}1.txt ${dir}/${name}2.txt)  # a file never made: no values
  foreach(channel 1 2)
    file(READ ${dir}/${name}${channel}.txt text)
    file(SIZE ${dir}/${name}${channel}.txt size)
    math(EXPR lines "${size} / 13")
    string(REPLACE "\r\n" "\n" text "${text}")
    string(APPEND expected "${lines} values\n${text}")
  endforeach()
  set(expected_${dir} "${expected}")
endforeach()

# The C interface through the shared library, where Windows looks for it too.
set(c_program ${WORK_DIR}/read_values${EXE_SUFFIX})
separate_arguments(c_flags UNIX_COMMAND "-std=c99 -pedantic -Wall -Wextra -Werror ${CXX_FLAGS}")
file(GLOB dll ${prefix}/bin/*.dll)
file(COPY ${dll} DESTINATION ${WORK_DIR})
set(said_${run_dir} "")
set(said_${cut_dir} "${name}: ended_early")
run_checked(${CC} ${c_flags} -I${prefix}/include ${SOURCE_DIR}/examples/c_example/read_values.c -L${prefix}/${LIBDIR}
  -lwfconv -Wl,-rpath,${prefix}/${LIBDIR} -o ${c_program})
# Linked statically, -lwfconv is libwfconv.a, which must hold the C interface too (natively,
# and not with the sanitizers, whose runtimes cannot be linked statically).
find_program(PKG_CONFIG NAMES pkg-config pkgconf)
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
if(PKG_CONFIG AND NOT EMULATOR AND NOT CXX_FLAGS MATCHES "-fsanitize")
  run_checked(${PKG_CONFIG} --static --cflags --libs wfconv-c)
  separate_arguments(pkg_flags UNIX_COMMAND "${output}")
  run_checked(${CC} ${c_flags} ${SOURCE_DIR}/examples/c_example/read_values.c ${pkg_flags} -static
    -o ${WORK_DIR}/read_values_static)
  list(APPEND c_program ${WORK_DIR}/read_values_static)
endif()
foreach(c_program ${c_program})
  foreach(dir ${run_dir} ${cut_dir})
    execute_process(COMMAND ${EMULATOR} ${c_program} ${name} WORKING_DIRECTORY ${dir}
      OUTPUT_VARIABLE printed ERROR_VARIABLE complaint)
    string(REPLACE "\r\n" "\n" printed "${printed}")
    if(NOT printed STREQUAL "${expected_${dir}}" OR NOT complaint MATCHES "^${said_${dir}}\r?\n?$")
      file(WRITE ${dir}/printed.txt "${printed}")
      message(FATAL_ERROR "${c_program} printed ${dir}/printed.txt and said '${complaint}'")
    endif()
  endforeach()
endforeach()
if(EMULATOR)
  return()
endif()

# Built by CMake through the package, with this build's compiler and sanitizer flags.
set(example_build ${WORK_DIR}/cmake-build)
run_checked(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/read_example -B ${example_build}
  -D CMAKE_PREFIX_PATH=${prefix} -D CMAKE_CXX_COMPILER=${CXX} -D CMAKE_BUILD_TYPE=${CONFIG}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run_checked(${CMAKE_COMMAND} --build ${example_build} ${config_args})
set(programs ${example_build}/read_example${CMAKE_EXECUTABLE_SUFFIX})

# Built by hand with the flags pkg-config gives.
if(PKG_CONFIG)
  run_checked(${PKG_CONFIG} --cflags --libs wfconv)
  separate_arguments(pkg_flags UNIX_COMMAND "${output}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  set(pkg_program ${WORK_DIR}/pkg_config_example${CMAKE_EXECUTABLE_SUFFIX})
  run_checked(${CXX} -std=c++20 ${cxx_flags} ${SOURCE_DIR}/examples/read_example/read_example.cpp ${pkg_flags}
    -o ${pkg_program})
  list(APPEND programs ${pkg_program})
else()
  message("pkg-config is not installed: wfconv.pc not tried")
endif()

foreach(program ${programs})
  run_checked(${program} ${name} WORKING_DIRECTORY ${run_dir})
  if(NOT output STREQUAL expected)
    file(WRITE ${WORK_DIR}/printed.txt "${output}")
    file(WRITE ${WORK_DIR}/expected.txt "${expected}")
    message(FATAL_ERROR "${program} printed ${WORK_DIR}/printed.txt, not ${WORK_DIR}/expected.txt")
  endif()
endforeach()
