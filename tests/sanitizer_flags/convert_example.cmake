# Configures SOURCE_DIR with -fsanitize=address,undefined in CMAKE_CXX_FLAGS and
# CMAKE_EXE_LINKER_FLAGS, builds wfconv, and compares its run on the example (status,
# report, both channel files, nothing on standard error) with BUILT_PROGRAM's.
set(build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR}/sanitized ${WORK_DIR}/built)
file(MAKE_DIRECTORY ${WORK_DIR}/sanitized ${WORK_DIR}/built)

function(run_checked)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${out}${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

set(sanitizers -fsanitize=address,undefined)
run_checked(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G ${GENERATOR} -D CMAKE_CXX_COMPILER=${CXX}
  -D CMAKE_CXX_FLAGS=${sanitizers} -D CMAKE_EXE_LINKER_FLAGS=${sanitizers})
if(NOT output MATCHES "-fsanitize= in CMAKE_CXX_FLAGS, so wfconv links dynamically")
  message(FATAL_ERROR "configure did not say that wfconv links dynamically:\n${output}")
endif()
run_checked(${CMAKE_COMMAND} --build ${build} --target wfconv -j2)

get_filename_component(name ${EXAMPLE} NAME)
foreach(run sanitized built)
  if(run STREQUAL "sanitized")
    set(exe ${build}/wfconv)
  else()
    set(exe ${BUILT_PROGRAM})
  endif()
  file(COPY ${EXAMPLE} DESTINATION ${WORK_DIR}/${run})
  execute_process(COMMAND ${exe} ${name} WORKING_DIRECTORY ${WORK_DIR}/${run}
    RESULT_VARIABLE status_${run} OUTPUT_VARIABLE report_${run} ERROR_VARIABLE errors_${run})
endforeach()
if(NOT status_sanitized STREQUAL status_built OR NOT errors_sanitized STREQUAL errors_built
   OR NOT report_sanitized STREQUAL report_built)
  message(FATAL_ERROR "the sanitized wfconv: status ${status_sanitized}, report:\n${report_sanitized}"
                      "standard error:\n${errors_sanitized}\nthe built one: status ${status_built}, "
                      "report:\n${report_built}")
endif()
foreach(channel 1 2)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/sanitized/${name}${channel}.txt
    ${WORK_DIR}/built/${name}${channel}.txt RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "channel ${channel} of the sanitized wfconv differs from the built program's")
  endif()
endforeach()
