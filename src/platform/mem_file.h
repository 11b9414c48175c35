// A read-only, non-growing file over memory that the caller owns: the
// framework's CMemFile as the module uses it. It never writes or frees the
// memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file.h"

namespace pelo {

class CMemFile : public CFile {
 public:
  CMemFile() = default;
  CMemFile(const void* data, std::size_t size) { Attach(data, size); }

  void Attach(const void* data, std::size_t size);

  std::uint32_t Read(void* buffer, std::uint32_t count) override;
  std::uint64_t GetPosition() const override { return position_; }
  void Seek(std::uint64_t position) override;
  std::uint64_t GetLength() const override { return size_; }
  const std::uint8_t* Contents() const override { return data_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace pelo
