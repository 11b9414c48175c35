#include "items/list_item.h"

#include "items/item_list.h"

namespace pelo {

namespace {

// Record tags that open the body of every list item.
constexpr std::uint16_t kTagName = 1000;
constexpr std::uint16_t kTagNumber = 1001;
constexpr std::uint16_t kTagFlagged = 1002;
constexpr std::uint16_t kTagUserFlag = 1003;
constexpr std::uint16_t kTagSelected = 1004;

}  // namespace

void CListItem::SetFlagged(std::uint8_t value) {
  if (value == flagged) return;
  const int d = value != 0 ? 1 : -1;
  if (owner != nullptr) {
    if (owner->GetCurrent() == this || selected != 0) owner->selectedFlaggedCount += d;
    owner->flaggedCount += d;
  }
  flagged = value;
}

void CListItem::SetSelected(std::uint8_t value) {
  if (value == selected) return;
  const int d = value != 0 ? 1 : -1;
  if (owner != nullptr) {
    owner->selectedCount += d;
    if (flagged != 0) owner->selectedFlaggedCount += d;
  }
  selected = value;
}

bool ReadListItemRecord(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                        CListItem& item, CString& name, std::int32_t& number) {
  switch (tag) {
    case kTagName:
      name = reader.ReadString(static_cast<int>(length));
      return true;
    case kTagNumber:
      number = static_cast<std::int32_t>(reader.ReadDword());
      return true;
    case kTagFlagged:
      item.SetFlagged(reader.ReadByte());
      return true;
    case kTagUserFlag:
      item.userFlag = reader.ReadByte();
      return true;
    case kTagSelected:
      item.SetSelected(reader.ReadByte());
      return true;
    default:
      return false;
  }
}

}  // namespace pelo
