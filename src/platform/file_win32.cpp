#include <windows.h>

#include <string>

#include "platform/exception.h"
#include "platform/file.h"

namespace pelo {

namespace {
HANDLE AsHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}
}  // namespace

CFile::~CFile() {
  Close();
}

bool CFile::Open(const char* fileName) {
  Close();
  if (fileName == nullptr) return false;
  const int units = ::MultiByteToWideChar(CP_ACP, 0, fileName, -1, nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, fileName, -1, wide.data(), units) != units) return false;
  return Open(wide.c_str());
}

bool CFile::Open(const wchar_t* fileName) {
  Close();
  if (fileName == nullptr) return false;
  HANDLE h = ::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

void CFile::Close() {
  if (handle_ == -1) return;
  ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count) {
  auto* out = static_cast<char*>(buffer);
  std::uint32_t total = 0;
  while (total < count) {
    DWORD got = 0;
    if (!::ReadFile(AsHandle(handle_), out + total, count - total, &got, nullptr))
      throw CFileException::ReadError();
    if (got == 0) break;
    total += got;
  }
  return total;
}

std::uint64_t CFile::GetPosition() const {
  LARGE_INTEGER zero{}, at{};
  if (!::SetFilePointerEx(AsHandle(handle_), zero, &at, FILE_CURRENT))
    throw CFileException::BadSeek();
  return static_cast<std::uint64_t>(at.QuadPart);
}

void CFile::Seek(std::uint64_t position) {
  if (position > kMaxPosition) throw CFileException::BadSeek();
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!::SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN))
    throw CFileException::BadSeek();
}

std::uint64_t CFile::GetLength() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(AsHandle(handle_), &size)) throw CFileException::BadSeek();
  return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace pelo
