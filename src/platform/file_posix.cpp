#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/exception.h"
#include "platform/file.h"

namespace pelo {

CFile::~CFile() {
  Close();
}

bool CFile::Open(const char* fileName) {
  Close();
  if (fileName == nullptr) return false;
  const int fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

void CFile::Close() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));
  handle_ = -1;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count) {
  auto* out = static_cast<char*>(buffer);
  std::uint32_t total = 0;
  while (total < count) {
    const ssize_t got = ::read(static_cast<int>(handle_), out + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw CFileException::ReadError();
    if (got == 0) break;
    total += static_cast<std::uint32_t>(got);
  }
  return total;
}

std::uint64_t CFile::GetPosition() const {
  const off_t at = ::lseek(static_cast<int>(handle_), 0, SEEK_CUR);
  if (at < 0) throw CFileException::BadSeek();
  return static_cast<std::uint64_t>(at);
}

void CFile::Seek(std::uint64_t position) {
  if (position > kMaxPosition) throw CFileException::BadSeek();
  if (::lseek(static_cast<int>(handle_), static_cast<off_t>(position), SEEK_SET) < 0)
    throw CFileException::BadSeek();
}

std::uint64_t CFile::GetLength() const {
  struct stat info {};
  if (::fstat(static_cast<int>(handle_), &info) != 0) throw CFileException::BadSeek();
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace pelo
