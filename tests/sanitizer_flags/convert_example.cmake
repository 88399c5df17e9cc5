# SPDX-License-Identifier: MIT
# SOURCE_DIR built with sanitizers in its flags; its wfconv is held to BUILT_PROGRAM's run on the example.
set(build ${WORK_DIR}/build)
set(sanitizers -fsanitize=address,undefined)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G ${GENERATOR} -D CMAKE_CXX_COMPILER=${CXX}
  -D CMAKE_CXX_FLAGS=${sanitizers} -D CMAKE_EXE_LINKER_FLAGS=${sanitizers}
  OUTPUT_VARIABLE out COMMAND_ERROR_IS_FATAL ANY)
if(NOT out MATCHES "-fsanitize= in CMAKE_CXX_FLAGS, so wfconv links dynamically")
  message(FATAL_ERROR "configure did not say that wfconv links dynamically:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} --target wfconv -j2 OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

get_filename_component(name ${EXAMPLE} NAME)
foreach(run built sanitized)
  file(REMOVE_RECURSE ${WORK_DIR}/${run})
  file(COPY ${EXAMPLE} DESTINATION ${WORK_DIR}/${run})
  execute_process(COMMAND ${BUILT_PROGRAM} ${name} WORKING_DIRECTORY ${WORK_DIR}/${run}
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE errors)
  set(${run} "status ${status}, report:\n${report}standard error:\n${errors}\nchannel files' SHA-256:")
  foreach(channel 1 2)
    set(sum missing)
    if(EXISTS ${WORK_DIR}/${run}/${name}${channel}.txt)
      file(SHA256 ${WORK_DIR}/${run}/${name}${channel}.txt sum)
    endif()
    string(APPEND ${run} " ${sum}")
  endforeach()
  set(BUILT_PROGRAM ${build}/wfconv)  # the second run's
endforeach()
if(NOT sanitized STREQUAL built)
  message(FATAL_ERROR "the sanitized wfconv: ${sanitized}\nthe built one: ${built}")
endif()
