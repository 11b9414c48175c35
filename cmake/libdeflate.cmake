# libdeflate, the whole-buffer deflate decoder the body is inflated with
# (zlib keeps the verdict on every stream it refuses). Defines the target
# pelo_libdeflate, with PELO_HAVE_LIBDEFLATE set when the decoder is there:
# natively Debian's package; for MinGW, Debian's source package compiled
# here as a static library (scripts/setup.sh fetches it once, outside the
# repository, into /var/cache/pelo2spi). Without it the build uses zlib
# alone.
add_library(pelo_libdeflate INTERFACE)

if(NOT WIN32)
  find_path(PELO_LIBDEFLATE_INCLUDE libdeflate.h)
  find_library(PELO_LIBDEFLATE_LIBRARY NAMES deflate)
  if(PELO_LIBDEFLATE_INCLUDE AND PELO_LIBDEFLATE_LIBRARY)
    target_include_directories(pelo_libdeflate INTERFACE ${PELO_LIBDEFLATE_INCLUDE})
    target_link_libraries(pelo_libdeflate INTERFACE ${PELO_LIBDEFLATE_LIBRARY})
    target_compile_definitions(pelo_libdeflate INTERFACE PELO_HAVE_LIBDEFLATE)
  else()
    message(STATUS "libdeflate not found (libdeflate-dev): the body is inflated by zlib alone")
  endif()
  return()
endif()

set(PELO_LIBDEFLATE_SOURCE "" CACHE PATH "Unpacked libdeflate source package for the MinGW build")
if(NOT PELO_LIBDEFLATE_SOURCE)
  file(GLOB candidates LIST_DIRECTORIES true /var/cache/pelo2spi/libdeflate-*)
  if(candidates)
    list(SORT candidates)
    list(GET candidates -1 found)
    set(PELO_LIBDEFLATE_SOURCE ${found} CACHE PATH
      "Unpacked libdeflate source package for the MinGW build" FORCE)
  endif()
endif()
if(NOT EXISTS "${PELO_LIBDEFLATE_SOURCE}/lib/deflate_decompress.c")
  message(STATUS "libdeflate source package not found (scripts/setup.sh fetches it): the body is inflated by zlib alone")
  return()
endif()

# The decoder, its checksum and processor detection: what the Makefile of
# the package builds for decompression.
file(GLOB pelo_libdeflate_cpu ${PELO_LIBDEFLATE_SOURCE}/lib/*/cpu_features.c)
add_library(pelo_libdeflate_static STATIC
  ${PELO_LIBDEFLATE_SOURCE}/lib/deflate_decompress.c ${PELO_LIBDEFLATE_SOURCE}/lib/utils.c
  ${PELO_LIBDEFLATE_SOURCE}/lib/adler32.c ${PELO_LIBDEFLATE_SOURCE}/lib/zlib_decompress.c
  ${pelo_libdeflate_cpu})
# Not our code: its own warnings are its makers' business.
target_compile_options(pelo_libdeflate_static PRIVATE -O2 -w)
target_include_directories(pelo_libdeflate_static PUBLIC ${PELO_LIBDEFLATE_SOURCE})
set_target_properties(pelo_libdeflate_static PROPERTIES C_STANDARD 99 C_EXTENSIONS ON)
target_link_libraries(pelo_libdeflate INTERFACE pelo_libdeflate_static)
target_compile_definitions(pelo_libdeflate INTERFACE PELO_HAVE_LIBDEFLATE)
message(STATUS "libdeflate ${PELO_LIBDEFLATE_SOURCE}: built for this target")
