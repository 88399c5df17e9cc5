# SPDX-License-Identifier: MIT
# Runs groff with every warning enabled over the manual page; any output is a failure.
find_program(GROFF groff)
if(NOT GROFF)
  message("groff is not installed: nothing to check")
  return()
endif()
execute_process(COMMAND ${GROFF} -ww -z -man ${MAN_SOURCE}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
  message(FATAL_ERROR "groff -ww -z -man ${MAN_SOURCE} (status ${status}):\n${out}${err}")
endif()
