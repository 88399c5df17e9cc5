# SPDX-License-Identifier: MIT
# cmake -D MODULE=... -D SOURCE_DIR=... -D SCRIPTS=a.mjs,b.mjs,... -D OUTPUT=... -P embed_page.cmake
# Puts the style, the scripts and the module (base64) into the page template: one file, so
# that it opens from disk, where a browser fetches nothing beside it, and needs no module loader.
#
# Each script is an ES module (so that node can test the pure ones) and becomes a function
# run once, in the order of SCRIPTS: its `export` declarations are returned as an object,
# and each `import { a, b } from "./name.mjs";` takes them from that object. Modules keep
# their own scope, as in a browser. Only those two forms are understood, with one name to
# an export.
cmake_minimum_required(VERSION 3.25)  # run with -P: the policies are not the project's
find_program(BASE64 base64 REQUIRED)
execute_process(COMMAND ${BASE64} -w 0 ${MODULE} OUTPUT_VARIABLE module COMMAND_ERROR_IS_FATAL ANY)
file(READ ${SOURCE_DIR}/page.css style)
file(READ ${SOURCE_DIR}/page.html page)

string(REPLACE "," ";" scripts "${SCRIPTS}")
set(done)  # the modules already in the script
set(script)
foreach(file IN LISTS scripts)
  string(REGEX REPLACE "\\.mjs$" "" name ${file})
  file(READ ${SOURCE_DIR}/${file} body)
  string(REGEX MATCHALL "\nimport [^\n;]*" imports "${body}")
  foreach(line IN LISTS imports)
    if(NOT line MATCHES "^\nimport \\{[A-Za-z0-9_$, ]+\\} from \"\\./([a-z0-9_]+)\\.mjs\"$")
      message(FATAL_ERROR "${file}: an import other than `import { a, b } from \"./name.mjs\";`:${line}")
    endif()
    if(NOT CMAKE_MATCH_1 IN_LIST done)
      message(FATAL_ERROR "${file} imports ${CMAKE_MATCH_1}.mjs, which SCRIPTS does not put before it")
    endif()
  endforeach()
  string(REGEX REPLACE "\nimport (\\{[^}\n]*\\}) from \"\\./([a-z0-9_]+)\\.mjs\";" "\nconst \\1 = module_\\2;" body "${body}")
  if(body MATCHES "\nimport ")
    message(FATAL_ERROR "${file}: an import that does not end in a semicolon")
  endif()
  string(REGEX MATCHALL "\nexport [^\n;]*" exports "${body}")
  set(names)
  foreach(line IN LISTS exports)
    if(NOT line MATCHES "^\nexport (async function|function|class|const) ([A-Za-z0-9_$]+)[ =(]")
      message(FATAL_ERROR "${file}: an export other than one function, class or const:${line}")
    endif()
    list(APPEND names ${CMAKE_MATCH_2})
  endforeach()
  string(REPLACE "\nexport " "\n" body "${body}")
  list(JOIN names ", " names)
  string(APPEND script "const module_${name} = (() => {\n${body}return {${names}};\n})();\n")
  list(APPEND done ${name})
endforeach()

string(REPLACE "/*STYLE*/" "${style}" page "${page}")
string(REPLACE "/*SCRIPT*/" "${script}" page "${page}")
string(REPLACE "MODULE_BASE64" "${module}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
