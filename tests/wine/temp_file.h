// A file in the temporary folder, made by its ANSI (TempFile) or UTF-16
// (WideTempFile) name and removed when the test ends.
#pragma once

#include <windows.h>

#include <string>

#include "support/record_writer.h"

namespace pelo::wine {

template <typename Char>
class BasicTempFile {
 public:
  using String = std::basic_string<Char>;

  BasicTempFile(const String& name, const test::Bytes& bytes) : path_(TempFolder() + name) {
    HANDLE h = Create(path_.c_str());
    DWORD written = 0;
    ok_ = h != INVALID_HANDLE_VALUE &&
          ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size();
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  ~BasicTempFile() { Delete(path_.c_str()); }
  BasicTempFile(const BasicTempFile&) = delete;
  BasicTempFile& operator=(const BasicTempFile&) = delete;

  bool Ok() const { return ok_; }
  const String& Path() const { return path_; }

  static String TempFolder() {
    Char folder[MAX_PATH] = {};
    if constexpr (sizeof(Char) == 1)
      ::GetTempPathA(MAX_PATH, folder);
    else
      ::GetTempPathW(MAX_PATH, folder);
    return folder;
  }

 private:
  static HANDLE Create(const Char* path) {
    if constexpr (sizeof(Char) == 1)
      return ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    else
      return ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  }
  static void Delete(const Char* path) {
    if constexpr (sizeof(Char) == 1)
      ::DeleteFileA(path);
    else
      ::DeleteFileW(path);
  }

  String path_;
  bool ok_ = false;
};

using TempFile = BasicTempFile<char>;
using WideTempFile = BasicTempFile<wchar_t>;

}  // namespace pelo::wine
