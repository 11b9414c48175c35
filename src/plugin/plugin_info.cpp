#include "plugin/plugin_info.h"

#include "platform/file_name.h"
#include "platform/os_handle.h"
#include "readers/file_format.h"

namespace pelo {
namespace {

int IsSupportedSource(bool pelExtension, std::uintptr_t sourceWord) {
  unsigned char head[10] = {};
  const unsigned char* data = head;
  std::uint32_t available = 0;
  if ((sourceWord & ~static_cast<std::uintptr_t>(0xFFFF)) == 0) {
    if (!ReadOsHandle(sourceWord, head, sizeof head, &available)) return 0;
  } else {
    // The host hands at least the first bytes of the file in memory.
    data = reinterpret_cast<const unsigned char*>(sourceWord);
    available = 4;
  }
  if (!pelExtension) return 0;
  return DetectFormatOfBytes(data, available) != kFormatNone ? 1 : 0;
}

}  // namespace

int IsSupportedFile(const char* fileName, std::uintptr_t sourceWord) {
  try {
    return IsSupportedSource(EqualsAsciiIgnoreCase(AnsiPathExtension(fileName), ".pel"),
                             sourceWord);
  } catch (...) {
    return 0;
  }
}

#ifdef _WIN32
int IsSupportedFile(const wchar_t* fileName, std::uintptr_t sourceWord) {
  try {
    return IsSupportedSource(EqualsAsciiIgnoreCase(WidePathExtension(fileName), ".pel"),
                             sourceWord);
  } catch (...) {
    return 0;
  }
}
#endif

}  // namespace pelo
