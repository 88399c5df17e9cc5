# SPDX-License-Identifier: MIT
# cmake -D SOURCE_DIR=... -D WORK_DIR=... -D VERSION=... -D SOURCE_LIST=FILE -P make_octave_package.cmake
# Makes WORK_DIR/wfconv-VERSION.tar.gz, the Octave package: the MEX function's source and
# help text, and the library's sources copied from the tree (SOURCE_LIST names them, one
# a line, relative to SOURCE_DIR), so that `pkg install` needs only Octave and a compiler.
set(name wfconv-${VERSION})
set(stage ${WORK_DIR}/${name})
file(REMOVE_RECURSE ${stage})

file(STRINGS ${SOURCE_LIST} sources)
file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.hpp ${SOURCE_DIR}/include/wfconv/*)
foreach(file IN LISTS sources headers)
  get_filename_component(folder ${file} DIRECTORY)
  file(COPY ${SOURCE_DIR}/${file} DESTINATION ${stage}/src/wfconv/${folder})
endforeach()
file(COPY ${SOURCE_DIR}/matlab/wfconv_read.c DESTINATION ${stage}/src)
file(COPY ${SOURCE_DIR}/matlab/wfconv_read.m DESTINATION ${stage}/inst)

set(WFCONV_VERSION ${VERSION})
string(TIMESTAMP WFCONV_DATE "%Y-%m-%d" UTC)  # SOURCE_DATE_EPOCH's, where it is set
configure_file(${SOURCE_DIR}/matlab/octave/DESCRIPTION.in ${stage}/DESCRIPTION @ONLY)
configure_file(${SOURCE_DIR}/matlab/octave/Makefile.in ${stage}/src/Makefile @ONLY)
configure_file(${SOURCE_DIR}/LICENSE ${stage}/COPYING COPYONLY)

# Sorted members, all with one time: the same tree gives the same archive.
file(GLOB_RECURSE members LIST_DIRECTORIES false RELATIVE ${WORK_DIR} ${stage}/*)
list(SORT members)
string(TIMESTAMP mtime "%Y-%m-%d %H:%M:%S" UTC)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${name}.tar.gz --format=gnutar "--mtime=${mtime} UTC" ${members}
  WORKING_DIRECTORY ${WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
