# SPDX-License-Identifier: MIT
# Converts the generated files with the cross-built program, run by its emulator,
# and with the native build's program, and compares the two runs byte for byte:
# status, standard output and both channel files of every file; then wfconv-csv, found
# beside each wfconv, over all the files at once, plain and with --exact --interval.
#   -D EMULATOR=... -D PROGRAM=... -D CSV_PROGRAM=... -D GENERATOR=... -D NATIVE_PROGRAM=...
#   -D WORK_DIR=... -D FILES=N
if(NOT EXISTS "${NATIVE_PROGRAM}")
  message(FATAL_ERROR "no native program to compare with at '${NATIVE_PROGRAM}': "
                      "build the dev preset first (cmake --workflow --preset dev), or set WFCONV_NATIVE_PROGRAM")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${EMULATOR} ${GENERATOR} ${WORK_DIR}/files ${FILES} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed (${status})")
endif()
file(GLOB inputs RELATIVE ${WORK_DIR}/files ${WORK_DIR}/files/*.wfm)
list(LENGTH inputs count)
if(NOT count EQUAL FILES)
  message(FATAL_ERROR "the generator wrote ${count} files, not ${FILES}")
endif()
file(COPY ${WORK_DIR}/files/ DESTINATION ${WORK_DIR}/native)
file(COPY ${WORK_DIR}/files/ DESTINATION ${WORK_DIR}/cross)

set(mismatches 0)
foreach(input ${inputs})
  # Relative names: both runs print the same paths.
  execute_process(COMMAND ${NATIVE_PROGRAM} ${input} WORKING_DIRECTORY ${WORK_DIR}/native
    OUTPUT_FILE ${WORK_DIR}/native/${input}.out RESULT_VARIABLE native_status)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${input} WORKING_DIRECTORY ${WORK_DIR}/cross
    OUTPUT_FILE ${WORK_DIR}/cross/${input}.out RESULT_VARIABLE cross_status)
  set(differ)
  if(NOT native_status STREQUAL cross_status)
    set(differ "status ${cross_status}, native ${native_status}")
  endif()
  foreach(output ${input}.out ${input}1.txt ${input}2.txt)
    if(EXISTS ${WORK_DIR}/native/${output} OR EXISTS ${WORK_DIR}/cross/${output})
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/native/${output} ${WORK_DIR}/cross/${output}
        RESULT_VARIABLE output_differs OUTPUT_QUIET ERROR_QUIET)
      if(output_differs)
        list(APPEND differ "${output} differs")
      endif()
    endif()
  endforeach()
  if(differ)
    math(EXPR mismatches "${mismatches} + 1")
    message(SEND_ERROR "${input}: ${differ}")
  endif()
endforeach()
get_filename_component(native_dir ${NATIVE_PROGRAM} DIRECTORY)
foreach(options "" "--exact;--interval;0.001")
  string(REPLACE ";" "" subdir "csv${options}")
  foreach(side native cross)
    file(MAKE_DIRECTORY ${WORK_DIR}/${side}/${subdir})
  endforeach()
  execute_process(COMMAND ${native_dir}/wfconv-csv ${options} -o ${subdir} ${inputs} WORKING_DIRECTORY ${WORK_DIR}/native
    RESULT_VARIABLE native_status ERROR_QUIET)
  execute_process(COMMAND ${EMULATOR} ${CSV_PROGRAM} ${options} -o ${subdir} ${inputs} WORKING_DIRECTORY ${WORK_DIR}/cross
    RESULT_VARIABLE cross_status ERROR_QUIET)
  if(NOT native_status STREQUAL cross_status)
    math(EXPR mismatches "${mismatches} + 1")
    message(SEND_ERROR "wfconv-csv ${options}: status ${cross_status}, native ${native_status}")
  endif()
  foreach(input ${inputs})
    if(EXISTS ${WORK_DIR}/native/${subdir}/${input}.csv OR EXISTS ${WORK_DIR}/cross/${subdir}/${input}.csv)
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/native/${subdir}/${input}.csv
        ${WORK_DIR}/cross/${subdir}/${input}.csv RESULT_VARIABLE output_differs OUTPUT_QUIET ERROR_QUIET)
      if(output_differs)
        math(EXPR mismatches "${mismatches} + 1")
        message(SEND_ERROR "wfconv-csv ${options}: ${input}.csv differs")
      endif()
    endif()
  endforeach()
endforeach()

if(mismatches GREATER 0)
  message(FATAL_ERROR "${mismatches} of ${count} files convert differently (inputs and outputs in ${WORK_DIR})")
endif()
message(STATUS "${count} files convert to the same bytes as with ${NATIVE_PROGRAM} and ${native_dir}/wfconv-csv")
