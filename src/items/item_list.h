// An owning array of list items with a current index (-1: none) and three
// counters that follow the items' flags. The current item is the one at
// currentIndex when 0 <= currentIndex < count; otherwise there is none.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "items/list_item.h"

namespace pelo {

class CItemList {
 public:
  CItemList() = default;
  CItemList(const CItemList&) = delete;
  CItemList& operator=(const CItemList&) = delete;
  virtual ~CItemList();

  int GetCount() const { return static_cast<int>(items_.size()); }
  // The item in slot index, or null for an empty slot or an index outside.
  CListItem* GetAt(int index) const;
  CListItem* GetCurrent() const { return GetAt(currentIndex); }
  virtual std::uint8_t IsFlaggedAt(int index) const;

  void SetCurrent(std::int32_t index);
  void ClearCurrent();
  void InsertAt(int index, std::unique_ptr<CListItem> item, bool keepCurrent);
  // Grows or shrinks to n slots; new slots are empty.
  void SetSize(int n);
  // How record handlers append: one more slot holding the item, owner set,
  // no counter or current index touched. Returns the item.
  CListItem* Append(std::unique_ptr<CListItem> item);
  void DeleteAll();
  // Deep copy of other's items, current index and counters.
  void CopyFrom(const CItemList& other);

  std::int32_t currentIndex = -1;
  std::int32_t selectedCount = 0;
  std::int32_t flaggedCount = 0;
  std::int32_t selectedFlaggedCount = 0;

 private:
  std::vector<std::unique_ptr<CListItem>> items_;
};

}  // namespace pelo
