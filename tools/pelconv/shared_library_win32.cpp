#include <windows.h>

#include "shared_library.h"

namespace pelo::tools {

SharedLibrary::~SharedLibrary() {
  Close();
}

bool SharedLibrary::Open(const std::string& path) {
  Close();
  handle_ = reinterpret_cast<void*>(::LoadLibraryA(path.c_str()));
  if (handle_ == nullptr) {
    error_ = path + " cannot be loaded (Windows error " + std::to_string(::GetLastError()) + ")";
    return false;
  }
  error_.clear();
  return true;
}

void SharedLibrary::Close() {
  if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

void* SharedLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

LocalHeapCalls LocalHeapOf(const SharedLibrary&) {
  LocalHeapCalls calls;
  calls.lock = [](void* h) -> void* { return ::LocalLock(static_cast<HLOCAL>(h)); };
  calls.unlock = [](void* h) -> int { return ::LocalUnlock(static_cast<HLOCAL>(h)); };
  calls.free = [](void* h) -> void* { return ::LocalFree(static_cast<HLOCAL>(h)); };
  calls.size = [](void* h) -> std::size_t { return ::LocalSize(static_cast<HLOCAL>(h)); };
  return calls;
}

}  // namespace pelo::tools
