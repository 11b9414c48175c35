#include <dlfcn.h>

#include "platform/local_memory.h"
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

LocalHeapCalls LocalHeapOf(const SharedLibrary& library) {
  LocalHeapCalls calls;
  calls.lock = reinterpret_cast<void* (*)(void*)>(library.Symbol("LocalLock"));
  calls.unlock = reinterpret_cast<int (*)(void*)>(library.Symbol("LocalUnlock"));
  calls.free = reinterpret_cast<void* (*)(void*)>(library.Symbol("LocalFree"));
  calls.size = reinterpret_cast<std::size_t (*)(void*)>(library.Symbol("LocalSize"));
  if (calls.lock != nullptr && calls.unlock != nullptr && calls.free != nullptr &&
      calls.size != nullptr)
    return calls;
  calls.lock = [](void* h) { return LockBlock(h); };
  calls.unlock = [](void* h) {
    UnlockBlock(h);
    return 0;
  };
  calls.free = [](void* h) -> void* {
    FreeBlock(h);
    return nullptr;
  };
  calls.size = [](void* h) { return BlockSize(h); };
  return calls;
}

}  // namespace pelo::tools
