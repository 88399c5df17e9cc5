# SPDX-License-Identifier: MIT
# cmake -D MODULE=... -D SOURCE_DIR=... -D OUTPUT=... -P embed_page.cmake
# Puts the style, the scripts (the axis ticks, then the page's) and the module (base64) into
# the page template: one file, so that it opens from disk, where a browser fetches nothing beside it.
find_program(BASE64 base64 REQUIRED)
execute_process(COMMAND ${BASE64} -w 0 ${MODULE} OUTPUT_VARIABLE module COMMAND_ERROR_IS_FATAL ANY)
file(READ ${SOURCE_DIR}/page.css style)
file(READ ${SOURCE_DIR}/axis_ticks.js ticks)
file(READ ${SOURCE_DIR}/page.js script)
file(READ ${SOURCE_DIR}/page.html page)
string(REPLACE "/*STYLE*/" "${style}" page "${page}")
string(REPLACE "/*SCRIPT*/" "${ticks}\n${script}" page "${page}")
string(REPLACE "MODULE_BASE64" "${module}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
