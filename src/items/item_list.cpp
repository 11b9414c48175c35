#include "items/item_list.h"

#include <algorithm>

namespace pelo {

CItemList::~CItemList() {
  DeleteAll();
}

CListItem* CItemList::GetAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

std::uint8_t CItemList::IsFlaggedAt(int index) const {
  const CListItem* item = GetAt(index);
  return item != nullptr ? item->flagged : 0;
}

void CItemList::SetCurrent(std::int32_t index) {
  const CListItem* item = GetAt(index);
  if (item != nullptr && item->flagged != 0) ++selectedFlaggedCount;
  currentIndex = index;
  ++selectedCount;
}

void CItemList::ClearCurrent() {
  if (currentIndex == -1) return;
  const CListItem* item = GetAt(currentIndex);
  if (item != nullptr && item->flagged != 0) --selectedFlaggedCount;
  currentIndex = -1;
  --selectedCount;
}

void CItemList::InsertAt(int index, std::unique_ptr<CListItem> item, bool keepCurrent) {
  if (!item) return;
  // Callers pass non-negative positions; a negative one would index before
  // the array, so it inserts at the front.
  if (index < 0) index = 0;
  // Grow first: when memory runs out the list is left exactly as it was,
  // current index included. Nothing below allocates.
  items_.reserve(std::max(items_.size() + 1, static_cast<std::size_t>(index) + 1));
  const std::int32_t remembered = currentIndex;
  ClearCurrent();
  item->owner = this;
  CListItem* inserted = item.get();
  if (index >= GetCount()) {
    items_.resize(static_cast<std::size_t>(index) + 1);
    items_[static_cast<std::size_t>(index)] = std::move(item);
  } else {
    items_.insert(items_.begin() + index, std::move(item));
  }
  if (items_.size() == 1) {
    currentIndex = -1;
    selectedCount = flaggedCount = selectedFlaggedCount = 0;
    if (keepCurrent) SetCurrent(0);
    return;
  }
  if (inserted->selected != 0) {
    ++selectedCount;
    if (inserted->flagged != 0) ++selectedFlaggedCount;
  }
  if (inserted->flagged != 0) ++flaggedCount;
  if (keepCurrent && remembered != -1)
    SetCurrent(index <= remembered ? remembered + 1 : remembered);
}

void CItemList::SetSize(int n) {
  if (n < 0) n = 0;
  // The list owns its items, so a dropped slot deletes its item rather than
  // leaking it.
  items_.resize(static_cast<std::size_t>(n));
}

CListItem* CItemList::Append(std::unique_ptr<CListItem> item) {
  if (item) item->owner = this;
  items_.push_back(std::move(item));
  return items_.back().get();
}

void CItemList::DeleteAll() {
  items_.clear();
}

void CItemList::CopyFrom(const CItemList& other) {
  if (&other == this) return;  // DeleteAll would leave nothing to copy
  DeleteAll();
  currentIndex = other.currentIndex;
  selectedCount = other.selectedCount;
  flaggedCount = other.flaggedCount;
  selectedFlaggedCount = other.selectedFlaggedCount;
  for (const auto& source : other.items_) {
    std::unique_ptr<CListItem> copy = source ? source->Clone() : nullptr;
    if (copy) copy->owner = this;
    items_.push_back(std::move(copy));
  }
}

}  // namespace pelo
