# The core's sources, listed once for the main build, the fuzz build and the
# tests: every floor of src/ but the exported entry points (spi_* in src/plugin
# and src/archive),
# for one operating system (files named *_posix or *_win32 belong to one).
set(PELO_CORE_FOLDERS platform io items pages document legacy readers settings plugin archive)

# Sets out to the sources under root/src for os_suffix (posix or win32).
function(pelo_core_sources out root os_suffix)
  set(globs)
  foreach(folder IN LISTS PELO_CORE_FOLDERS)
    list(APPEND globs ${root}/src/${folder}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${globs})
  list(FILTER sources EXCLUDE REGEX "src/(plugin|archive)/spi_[a-z_]+\\.cpp$")
  if(os_suffix STREQUAL "win32")
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
