#include "document/list_item.h"

#include "document/item_list.h"

namespace pelo {

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

}  // namespace pelo
