// The memory file over an inflated body. Records whose payload a buffer
// would only copy can have that payload shared instead: the share keeps the
// body alive after the load that made it returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/mem_file.h"

namespace pelo {

class CBodyFile : public CMemFile {
 public:
  CBodyFile(std::shared_ptr<std::uint8_t[]> bytes, std::size_t size);

  // Every count bytes that are left can be shared.
  std::shared_ptr<std::uint8_t[]> Share(std::size_t count) override;

 private:
  std::shared_ptr<std::uint8_t[]> bytes_;
};

}  // namespace pelo
