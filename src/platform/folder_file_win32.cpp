#include <windows.h>

#include <cstring>

#include "platform/folder_file.h"

namespace pelo {
namespace {

std::wstring WideFrom(UINT codePage, const char* text, int bytes) {
  if (bytes <= 0) return std::wstring();
  const int units = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, bytes, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, bytes, wide.data(), units);
  return wide;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return h_; }
  bool Close() {
    const bool closed = ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file, at, chunk, &written, nullptr) || written != chunk) return false;
    at += chunk;
    size -= chunk;
  }
  return true;
}

}  // namespace

std::wstring WideFromCp932(const CString& text) {
  return WideFrom(932, text.data(), static_cast<int>(text.size()));
}

CString Cp932FromWide(const wchar_t* text) {
  BOOL lost = FALSE;
  const int bytes = ::WideCharToMultiByte(932, 0, text, -1, nullptr, 0, nullptr, &lost);
  if (bytes <= 1 || lost) return CString();
  CString narrow(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(932, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
  narrow.pop_back();
  return narrow;
}

bool WriteFileInFolder(const wchar_t* folder, const CString& name, const void* data,
                       std::size_t size) {
  const std::wstring wideName = WideFromCp932(name);
  if (folder == nullptr || wideName.empty()) return false;
  std::wstring path(folder);
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  path += wideName;
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) return false;
  const bool whole = WriteAll(file.Get(), data, size);
  if (file.Close() && whole) return true;
  ::DeleteFileW(path.c_str());
  return false;
}

bool WriteFileInFolder(const char* folder, const CString& name, const void* data,
                       std::size_t size) {
  if (folder == nullptr) return false;
  const std::wstring wideFolder = WideFrom(CP_ACP, folder, static_cast<int>(std::strlen(folder)));
  if (wideFolder.empty()) return false;
  return WriteFileInFolder(wideFolder.c_str(), name, data, size);
}

}  // namespace pelo
