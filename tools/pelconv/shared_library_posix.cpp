#include <dlfcn.h>

#include "shared_library.h"

namespace pelo::tools {

SharedLibrary::~SharedLibrary() {
  Close();
}

bool SharedLibrary::Open(const std::string& path) {
  Close();
  // A path without a slash would make dlopen search the library path; the
  // caller always means this very file.
  const std::string explicitPath = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = ::dlopen(explicitPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = ::dlerror();
    error_ = reason != nullptr ? reason : "cannot be loaded";
    return false;
  }
  error_.clear();
  return true;
}

void SharedLibrary::Close() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
}

void* SharedLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace pelo::tools
