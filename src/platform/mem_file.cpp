#include "platform/mem_file.h"

#include <cstring>

#include "platform/exception.h"

namespace pelo {

void CMemFile::Attach(const void* data, std::size_t size) {
  data_ = static_cast<const std::uint8_t*>(data);
  size_ = data_ == nullptr ? 0 : size;
  position_ = 0;
}

std::uint32_t CMemFile::Read(void* buffer, std::uint32_t count) {
  if (position_ >= size_ || count == 0) return 0;
  const std::uint64_t left = size_ - position_;
  const auto n = static_cast<std::uint32_t>(count < left ? count : left);
  std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

void CMemFile::Seek(std::uint64_t position) {
  if (position > kMaxPosition) throw CFileException::BadSeek();
  position_ = position;
}

}  // namespace pelo
