// A dynamic library loaded by path, as an image viewer loads its plug-ins:
// dlopen natively, LoadLibraryA on Windows. Unloaded when destroyed.
#pragma once

#include <cstddef>
#include <string>

namespace pelo::tools {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary();

  // False, with the system's reason in error(), when the library cannot be
  // loaded; a library loaded before is unloaded first.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }
  // The address of an exported name, or null.
  void* Symbol(const char* name) const;
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// The calls that lock, unlock, free and measure the blocks a picture
// plug-in hands out: the system's local heap on Windows; natively the
// module's own exports, or this program's core where a module lacks them
// (it made its blocks with the same code).
struct LocalHeapCalls {
  void* (*lock)(void*) = nullptr;
  int (*unlock)(void*) = nullptr;
  void* (*free)(void*) = nullptr;
  std::size_t (*size)(void*) = nullptr;
};
LocalHeapCalls LocalHeapOf(const SharedLibrary& library);

}  // namespace pelo::tools
