// Two option bytes of the document (document record 1005); stored only.
#pragma once

#include <cstdint>

#include "io/binary_reader.h"

namespace pelo {

class CDocumentOptions {
 public:
  virtual ~CDocumentOptions() = default;

  std::uint8_t flagA = 1;
  std::uint8_t flagB = 0;
};

// Context: the CDocumentOptions. Tag 1000 reads a byte into flagA, tag 1001
// a byte into flagB; other tags are ignored.
void DocumentOptionsRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                                  void* context);

}  // namespace pelo
