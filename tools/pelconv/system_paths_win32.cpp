#include <windows.h>

#include "system_paths.h"

namespace pelo::tools {

std::string ExecutablePath() {
  char buffer[MAX_PATH];
  const DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::string(buffer, n);
}

const char* PluginFileName() {
  return "Pelo2SPI.spi";
}

}  // namespace pelo::tools
