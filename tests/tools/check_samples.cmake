# Regenerates the samples into WORK and compares them byte for byte with the
# committed ones in SAMPLES; both sets must hold the same files.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_samples failed: ${rc}")
endif()
file(GLOB made RELATIVE ${WORK} ${WORK}/*.pel)
file(GLOB committed RELATIVE ${SAMPLES} ${SAMPLES}/*.pel)
list(SORT made)
list(SORT committed)
if(NOT made STREQUAL committed)
  message(FATAL_ERROR "samples/ holds ${committed}, make_samples writes ${made}")
endif()
foreach(name IN LISTS made)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${SAMPLES}/${name}
    RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "samples/${name} differs from what make_samples writes now; "
      "run 'cmake --build build/native --target samples' and commit the result")
  endif()
endforeach()
message(STATUS "samples up to date: ${made}")
