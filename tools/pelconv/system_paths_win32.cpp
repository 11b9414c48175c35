#include <windows.h>

#include "system_paths.h"

namespace pelo::tools {

std::string ExecutablePath() {
  char buffer[MAX_PATH];
  const DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::string(buffer, n);
}

// A 64-bit pelconv.exe can only load the 64-bit module.
const char* PluginFileName() {
#ifdef _WIN64
  return "Pelo2SPI.sph";
#else
  return "Pelo2SPI.spi";
#endif
}

}  // namespace pelo::tools
