# Configures SOURCE_DIR with -fsanitize=address,undefined in CMAKE_CXX_FLAGS and
# CMAKE_EXE_LINKER_FLAGS, builds wfconv, and holds its run on the example (status, report,
# standard error, both channel files) to BUILT_PROGRAM's.
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
foreach(run sanitized built)
  file(REMOVE_RECURSE ${WORK_DIR}/${run})
  file(COPY ${EXAMPLE} DESTINATION ${WORK_DIR}/${run})
  set(exe ${BUILT_PROGRAM})
  if(run STREQUAL "sanitized")
    set(exe ${build}/wfconv)
  endif()
  execute_process(COMMAND ${exe} ${name} WORKING_DIRECTORY ${WORK_DIR}/${run}
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE errors)
  set(${run} "status ${status}, report:\n${report}standard error:\n${errors}")
endforeach()
if(NOT sanitized STREQUAL built)
  message(FATAL_ERROR "the sanitized wfconv: ${sanitized}\nthe built one: ${built}")
endif()
foreach(channel 1 2)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/sanitized/${name}${channel}.txt
    ${WORK_DIR}/built/${name}${channel}.txt COMMAND_ERROR_IS_FATAL ANY)
endforeach()
