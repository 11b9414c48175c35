#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

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

// rename refuses an existing target here.
bool MoveFileOver(const std::string& source, const std::string& target) {
  if (::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  errno = EACCES;  // the system's own error is no errno
  return false;
}

void PrepareStandardStreams() {
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
}

bool IsTerminal(std::FILE* stream) {
  return ::_isatty(::_fileno(stream)) != 0;
}

}  // namespace pelo::tools
