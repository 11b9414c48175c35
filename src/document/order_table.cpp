#include "document/order_table.h"

#include "io/record_stream.h"

namespace pelo {

void COrderTable::Load(CBinaryReader& reader, std::uint32_t length) {
  ReadRecords(reader, length, OrderTableRecordHandler, this);
}

void OrderTableRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t /*length*/,
                             void* context) {
  auto* table = static_cast<COrderTable*>(context);
  if (tag >= 1000 && tag <= 1003) table->order[tag - 1000u] = reader.ReadByte();
}

}  // namespace pelo
