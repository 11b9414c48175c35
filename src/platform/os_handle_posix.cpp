#include <unistd.h>

#include <cerrno>

#include "platform/os_handle.h"

namespace pelo {

bool ReadOsHandle(std::uintptr_t handle, void* buffer, std::uint32_t count, std::uint32_t* got) {
  ssize_t n = 0;
  do {
    n = ::read(static_cast<int>(handle), buffer, count);
  } while (n < 0 && errno == EINTR);
  *got = n < 0 ? 0 : static_cast<std::uint32_t>(n);
  return n >= 0;
}

}  // namespace pelo
