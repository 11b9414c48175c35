#include <windows.h>

#include "platform/os_handle.h"

namespace pelo {

bool ReadOsHandle(std::uintptr_t handle, void* buffer, std::uint32_t count, std::uint32_t* got) {
  DWORD read = 0;
  const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(handle), buffer, count, &read, nullptr);
  *got = read;
  return ok != FALSE;
}

}  // namespace pelo
