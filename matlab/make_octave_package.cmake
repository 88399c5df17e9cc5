# SPDX-License-Identifier: MIT
# cmake -D SOURCE_DIR=... -D WORK_DIR=... -D VERSION=... -P make_octave_package.cmake
# Makes WORK_DIR/wfconv-VERSION.tar.gz, the Octave package: the MEX function's source and
# help text, and the sources and flags of the library and the C interface as
# src/library.txt names them, copied from the tree, so that `pkg install` needs only Octave
# and a compiler.
set(name wfconv-${VERSION})
set(stage ${WORK_DIR}/${name})
file(REMOVE_RECURSE ${stage})

file(STRINGS ${SOURCE_DIR}/src/library.txt sources REGEX "^(reader|reader-files|c_api): ")
list(TRANSFORM sources REPLACE "^[^:]*: *" "")
file(STRINGS ${SOURCE_DIR}/src/library.txt WFCONV_EXACT_ARITHMETIC REGEX "^exact-gnu: ")  # Octave's compilers are GNU's
list(TRANSFORM WFCONV_EXACT_ARITHMETIC REPLACE "^[^:]*: *" "")
list(TRANSFORM sources REPLACE "\\.cpp$" ".o" OUTPUT_VARIABLE objects)
list(TRANSFORM objects PREPEND wfconv/)
list(JOIN objects " " WFCONV_OBJECTS)

set(folders)
foreach(file IN LISTS sources)
  get_filename_component(folder ${file} DIRECTORY)
  list(APPEND folders ${folder})
  file(COPY ${SOURCE_DIR}/${file} DESTINATION ${stage}/src/wfconv/${folder})
endforeach()
# The headers of the sources' folders and the public ones.
list(REMOVE_DUPLICATES folders)
list(TRANSFORM folders REPLACE "(.+)" "${SOURCE_DIR}/\\1/*.hpp")
file(GLOB headers RELATIVE ${SOURCE_DIR} ${folders} ${SOURCE_DIR}/include/wfconv/*)
foreach(file IN LISTS headers)
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
