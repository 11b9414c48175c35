// A dynamic library loaded by path, as an image viewer loads its plug-ins:
// dlopen natively, LoadLibraryA on Windows. Unloaded when destroyed.
#pragma once

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

}  // namespace pelo::tools
