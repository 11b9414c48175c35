#include "platform/file.h"

namespace pelo {

std::uint64_t CFile::GetRemaining() const {
  const std::uint64_t length = GetLength();
  const std::uint64_t position = GetPosition();
  return length > position ? length - position : 0;
}

std::shared_ptr<std::uint8_t[]> CFile::Share(std::size_t) {
  return nullptr;
}

}  // namespace pelo
