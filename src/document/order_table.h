// Four order bytes that the document keeps beside its palettes (document
// record 1004). Loaded and kept only; nothing in the module reads them.
#pragma once

#include <array>
#include <cstdint>

#include "io/binary_reader.h"

namespace pelo {

class COrderTable {
 public:
  // Walks an order table record body (the payload of document record 1004)
  // into this table. Every record 1004 of a file loads into the same table.
  void Load(CBinaryReader& reader, std::uint32_t length);

  std::array<std::uint8_t, 4> order{3, 2, 1, 0};
};

// Context: the COrderTable. Tags 1000 to 1003 read one byte into order[0]
// to order[3]; other tags are ignored.
void OrderTableRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                             void* context);

}  // namespace pelo
