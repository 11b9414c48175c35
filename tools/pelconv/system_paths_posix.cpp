#include <limits.h>
#include <unistd.h>

#include <cstdio>

#include "system_paths.h"

namespace pelo::tools {

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

const char* PluginFileName() {
  return "Pelo2SPI.so";
}

bool MoveFileOver(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

void PrepareStandardStreams() {}

bool IsTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) != 0;
}

}  // namespace pelo::tools
