#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "platform/module_path.h"

namespace pelo {

std::string GetModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&GetModulePath), &info) == 0 || info.dli_fname == nullptr)
    return {};
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved) == nullptr) return info.dli_fname;
  return resolved;
}

std::string RenameExtension(const std::string& path, const char* ext) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + ext;
}

}  // namespace pelo
