# Rewrites the import library of a 32-bit stdcall DLL whose exports carry no
# @N (hosts look them up by their plain names). The linker's own import
# library then names them without @N too, and a program that calls them
# through a stdcall prototype (which asks for _Name@N) cannot link. dlltool
# builds one with the decorated symbols that import the plain names.
#
# The @N of each export is read from the objects that define it, so a
# prototype that stops being stdcall fails the build here.
#
# cmake -DNM= -DDLLTOOL= -DDEF= -DOBJECTS=a.obj|b.obj -DDLL_NAME= -DOUTPUT=
#       -P stdcall-import-library.cmake
foreach(var NM DLLTOOL DEF OBJECTS DLL_NAME OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "stdcall-import-library: ${var} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" objects "${OBJECTS}")
list(FILTER objects INCLUDE REGEX "\\.obj$")
execute_process(COMMAND ${NM} --defined-only ${objects}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "stdcall-import-library: ${NM} failed on ${objects}")
endif()

file(STRINGS ${DEF} def_lines)
set(in_exports FALSE)
set(decorated "LIBRARY ${DLL_NAME}\nEXPORTS\n")
foreach(line IN LISTS def_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "EXPORTS")
    set(in_exports TRUE)
  elseif(in_exports AND line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)$")
    set(name ${CMAKE_MATCH_1})
    if(NOT symbols MATCHES " T _${name}@([0-9]+)\n")
      message(FATAL_ERROR "stdcall-import-library: ${name} is not a stdcall function")
    endif()
    string(APPEND decorated "  ${name}@${CMAKE_MATCH_1}\n")
  endif()
endforeach()

set(decorated_def ${OUTPUT}.def)
file(WRITE ${decorated_def} "${decorated}")
execute_process(COMMAND ${DLLTOOL} --kill-at --def ${decorated_def} --dllname ${DLL_NAME}
  --output-lib ${OUTPUT} RESULT_VARIABLE dlltool_result)
if(NOT dlltool_result EQUAL 0)
  message(FATAL_ERROR "stdcall-import-library: ${DLLTOOL} failed")
endif()
