// The common base of palettes, pages and layers: three flag bytes and the
// list that owns the item. Changes of flagged and selected keep the owner's
// counters up to date.
#pragma once

#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "platform/cstring.h"

namespace pelo {

class CItemList;

class CListItem {
 public:
  CListItem() = default;
  CListItem(const CListItem&) = delete;
  CListItem& operator=(const CListItem&) = delete;
  virtual ~CListItem() = default;

  virtual std::int32_t GetNumber() const { return 0; }
  // A deep copy, or null for an item that cannot be copied.
  virtual std::unique_ptr<CListItem> Clone() const { return nullptr; }

  void SetFlagged(std::uint8_t value);
  void SetSelected(std::uint8_t value);

  std::uint8_t flagged = 0;
  std::uint8_t userFlag = 1;
  std::uint8_t selected = 0;
  CItemList* owner = nullptr;  // not owning
};

// The first five records of every palette, page and layer body: name,
// number and the three flags. Returns false, reading nothing, for any other
// tag.
bool ReadListItemRecord(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                        CListItem& item, CString& name, std::int32_t& number);

}  // namespace pelo
