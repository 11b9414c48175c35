# cmake --install into a fresh prefix, then the installed pieces at work from
# there: pelconv finds its module, gdk-pixbuf loads the installed loader and
# the Qt reader the installed plug-in, each through its run path.
file(REMOVE_RECURSE ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}): ${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
foreach(file bin/pelconv ${LIBDIR}/pelo2spi/Pelo2SPI.so share/mime/packages/pelo.xml
    share/thumbnailers/pelo.thumbnailer)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "cmake --install left out ${file}")
  endif()
endforeach()

run(${prefix}/bin/pelconv --thumbnail 64 ${SAMPLES}/sprite.pel ${WORK}/thumb.png)
if(NOT EXISTS ${WORK}/thumb.png)
  message(FATAL_ERROR "the installed pelconv wrote no thumbnail")
endif()

file(GLOB loader ${prefix}/${LIBDIR}/gdk-pixbuf-2.0/*/loaders/libpixbufloader-pelo.so)
run(${QUERY_LOADERS} ${loader})
if(NOT run_output MATCHES "\"image/x-pelo\"")
  message(FATAL_ERROR "gdk-pixbuf cannot load the installed loader: ${run_output}")
endif()

run(${CMAKE_COMMAND} -E env QT_PLUGIN_PATH=${prefix}/${LIBDIR}/qt5/plugins
  ${QT_TESTS} --gtest_filter=QtPlugin.ReadsEverySample*)
file(REMOVE_RECURSE ${WORK})
