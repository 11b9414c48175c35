#include "document/order_table.h"

#include <iterator>

#include "io/record_stream.h"

namespace pelo {

namespace {

// Record tags of the order table: one per entry, in order.
constexpr std::uint16_t kTagFirstOrder = 1000;

}  // namespace

void COrderTable::Load(CBinaryReader& reader, std::uint32_t length) {
  ReadRecords(reader, length, OrderTableRecordHandler, this);
}

void OrderTableRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t /*length*/,
                             void* context) {
  auto* table = static_cast<COrderTable*>(context);
  if (tag >= kTagFirstOrder && tag < kTagFirstOrder + std::size(table->order))
    table->order[tag - kTagFirstOrder] = reader.ReadByte();
}

}  // namespace pelo
