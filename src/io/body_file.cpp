#include "io/body_file.h"

#include <utility>

namespace pelo {

CBodyFile::CBodyFile(std::shared_ptr<std::uint8_t[]> bytes, std::size_t size)
    : CMemFile(bytes.get(), size), bytes_(std::move(bytes)) {}

std::shared_ptr<std::uint8_t[]> CBodyFile::Share(std::size_t count) {
  const std::uint64_t position = GetPosition();
  if (position > GetLength() || count > GetRemaining()) return nullptr;
  Seek(position + count);
  return std::shared_ptr<std::uint8_t[]>(bytes_, bytes_.get() + position);
}

}  // namespace pelo
