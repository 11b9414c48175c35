#include "items/item_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace pelo {
namespace {

// A list item that can be told apart and copied.
class Item : public CListItem {
 public:
  explicit Item(std::string name, std::int32_t number = 0)
      : name(std::move(name)), number(number) {}
  ~Item() override { ++destroyed; }
  std::int32_t GetNumber() const override { return number; }
  std::unique_ptr<CListItem> Clone() const override {
    auto copy = std::make_unique<Item>(name, number);
    copy->flagged = flagged;
    copy->selected = selected;
    return copy;
  }

  std::string name;
  std::int32_t number;
  static int destroyed;
};
int Item::destroyed = 0;

std::unique_ptr<Item> Make(const char* name) {
  return std::make_unique<Item>(name);
}

std::string Names(const CItemList& list) {
  std::string names;
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto* item = static_cast<const Item*>(list.GetAt(i));
    names += item != nullptr ? item->name : "_";
  }
  return names;
}

const std::string& CurrentName(const CItemList& list) {
  static const std::string none = "none";
  const auto* item = static_cast<const Item*>(list.GetCurrent());
  return item != nullptr ? item->name : none;
}

struct Counters {
  std::int32_t current, selected, flagged, selectedFlagged;
  bool operator==(const Counters&) const = default;
};

Counters Of(const CItemList& list) {
  return {list.currentIndex, list.selectedCount, list.flaggedCount, list.selectedFlaggedCount};
}

void PrintTo(const Counters& c, std::ostream* os) {
  *os << "{current " << c.current << ", selected " << c.selected << ", flagged " << c.flagged
      << ", selectedFlagged " << c.selectedFlagged << "}";
}

// A and B with A current at slot 0, as InsertAt builds it.
void MakeAB(CItemList& list) {
  list.InsertAt(0, Make("A"), true);
  list.InsertAt(1, Make("B"), true);
}

// Where InsertAt puts an item, which item stays current and how the counters
// move; a flagged and selected item is the letter in lower case.
TEST(ItemList, InsertAt) {
  enum class Start {
    kEmpty,
    kA,          // A, current
    kAB,         // A current, then B
    kStaleIndex  // empty, after SetCurrent(3) and SetCurrent(4)
  };
  struct Case {
    const char* what;
    Start start;
    int position;
    bool keepCurrent;
    const char* item;
    const char* names;
    Counters counters;
    const char* current;
  };
  const Case cases[] = {
      {"the first insertion becomes current", Start::kEmpty, 0, true, "A", "A", {0, 1, 0, 0}, "A"},
      {"in front keeps the current item", Start::kAB, 0, true, "C", "CAB", {1, 1, 0, 0}, "A"},
      {"behind keeps the current index", Start::kAB, 2, true, "C", "ABC", {0, 1, 0, 0}, "A"},
      {"without keepCurrent leaves none", Start::kAB, 0, false, "C", "CAB", {-1, 0, 0, 0}, "none"},
      {"past the end leaves empty slots", Start::kA, 3, true, "D", "A__D", {0, 1, 0, 0}, "A"},
      {"a negative position is the front", Start::kAB, -4, true, "C", "CAB", {1, 1, 0, 0}, "A"},
      {"a flagged selected item counts", Start::kA, 1, true, "c", "Ac", {0, 2, 1, 1}, "A"},
      {"the first insertion resets the counters",
       Start::kStaleIndex,
       0,
       false,
       "a",
       "a",
       {-1, 0, 0, 0},
       "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CItemList list;
    if (c.start == Start::kA) list.InsertAt(0, Make("A"), true);
    if (c.start == Start::kAB) MakeAB(list);
    if (c.start == Start::kStaleIndex) {
      list.SetCurrent(3);
      list.SetCurrent(4);
    }
    auto item = Make(c.item);
    const bool marked = std::islower(static_cast<unsigned char>(c.item[0])) != 0;
    item->flagged = marked ? 1 : 0;
    item->selected = marked ? 1 : 0;
    const Item* inserted = item.get();
    list.InsertAt(c.position, std::move(item), c.keepCurrent);
    EXPECT_EQ(Names(list), c.names);
    EXPECT_EQ(Of(list), c.counters);
    EXPECT_EQ(CurrentName(list), c.current);
    EXPECT_EQ(inserted->owner, &list);
    for (int i = 0; i < list.GetCount(); ++i)
      if (list.GetAt(i) == nullptr) {
        EXPECT_EQ(list.IsFlaggedAt(i), 0) << i;
      }
  }
}

TEST(ItemList, RecordsOnAnAppendedItemMoveTheCounters) {
  CItemList list;
  CListItem* item = list.Append(Make("A"));
  EXPECT_EQ(item->owner, &list);
  EXPECT_EQ(Of(list), (Counters{-1, 0, 0, 0}));
  item->SetSelected(1);
  EXPECT_EQ(Of(list), (Counters{-1, 1, 0, 0}));
  item->SetFlagged(1);
  EXPECT_EQ(Of(list), (Counters{-1, 1, 1, 1}));
  item->SetSelected(0);
  EXPECT_EQ(Of(list), (Counters{-1, 0, 1, 0}));
  item->SetFlagged(0);
  EXPECT_EQ(Of(list), (Counters{-1, 0, 0, 0}));
}

TEST(ItemList, FlaggingTheCurrentItemCountsItAsSelected) {
  CItemList list;
  list.InsertAt(0, Make("A"), true);
  list.GetAt(0)->SetFlagged(1);
  EXPECT_EQ(Of(list), (Counters{0, 1, 1, 1}));
  list.ClearCurrent();
  EXPECT_EQ(Of(list), (Counters{-1, 0, 1, 0}));
  list.SetCurrent(0);
  EXPECT_EQ(Of(list), (Counters{0, 1, 1, 1}));
}

TEST(ItemList, FlagSettersCompareTheExactByte) {
  CItemList list;
  CListItem* item = list.Append(Make("A"));
  item->SetFlagged(1);
  item->SetFlagged(2);  // a different byte, but not zero: counts +1 again
  EXPECT_EQ(item->flagged, 2);
  EXPECT_EQ(list.flaggedCount, 2);
  item->SetFlagged(2);
  EXPECT_EQ(list.flaggedCount, 2);
}

TEST(ItemList, SetCurrentOutsideTheListStoresTheIndex) {
  CItemList list;
  list.Append(Make("A"))->SetFlagged(1);
  list.Append(Make("B"));
  list.Append(Make("C"));
  const Counters before = Of(list);
  list.SetCurrent(5);
  EXPECT_EQ(list.currentIndex, 5);
  EXPECT_EQ(list.selectedCount, before.selected + 1);
  EXPECT_EQ(list.flaggedCount, before.flagged);
  EXPECT_EQ(list.selectedFlaggedCount, before.selectedFlagged);
  EXPECT_EQ(list.GetCurrent(), nullptr);
}

TEST(ItemList, SetCurrentMinusOneCountsAndClearCurrentThenDoesNothing) {
  CItemList list;
  list.Append(Make("A"));
  list.SetCurrent(-1);
  EXPECT_EQ(Of(list), (Counters{-1, 1, 0, 0}));
  list.ClearCurrent();
  EXPECT_EQ(Of(list), (Counters{-1, 1, 0, 0}));
}

TEST(ItemList, SetCurrentDoesNotClearAnEarlierCurrentIndex) {
  CItemList list;
  MakeAB(list);
  list.SetCurrent(1);
  EXPECT_EQ(Of(list), (Counters{1, 2, 0, 0}));
}

TEST(ItemList, FlaggingWithoutAnOwnerChangesOnlyTheItem) {
  Item item("A");
  item.SetFlagged(1);
  EXPECT_EQ(item.flagged, 1);
  item.SetFlagged(1);
  EXPECT_EQ(item.flagged, 1);
  item.SetSelected(1);
  EXPECT_EQ(item.selected, 1);
}

TEST(ItemList, ClearCurrentWithoutACurrentItemDoesNothing) {
  CItemList list;
  list.Append(Make("A"));
  list.ClearCurrent();
  EXPECT_EQ(Of(list), (Counters{-1, 0, 0, 0}));
}

TEST(ItemList, DeleteAllKeepsTheIndexButNoItemIsCurrent) {
  CItemList list;
  MakeAB(list);
  list.SetCurrent(1);
  const Counters before = Of(list);
  Item::destroyed = 0;
  list.DeleteAll();
  EXPECT_EQ(Item::destroyed, 2);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(Of(list), before);
  EXPECT_EQ(list.GetCurrent(), nullptr);
}

TEST(ItemList, TheDestructorDeletesEveryItem) {
  Item::destroyed = 0;
  {
    CItemList list;
    MakeAB(list);
    list.SetSize(4);
  }
  EXPECT_EQ(Item::destroyed, 2);
}

TEST(ItemList, SetSizeGrowsWithEmptySlotsAndCountsNothing) {
  CItemList list;
  list.InsertAt(0, Make("A"), true);
  const Counters before = Of(list);
  list.SetSize(3);
  EXPECT_EQ(Names(list), "A__");
  EXPECT_EQ(Of(list), before);
  list.SetCurrent(2);  // an empty slot names no item
  EXPECT_EQ(list.GetCurrent(), nullptr);
}

TEST(ItemList, CopyFromClonesItemsAndCopiesCounters) {
  CItemList source;
  MakeAB(source);
  source.GetAt(1)->SetFlagged(1);
  CItemList copy;
  copy.InsertAt(0, Make("X"), true);
  copy.CopyFrom(source);
  EXPECT_EQ(Names(copy), "AB");
  EXPECT_EQ(Of(copy), Of(source));
  EXPECT_NE(copy.GetAt(0), source.GetAt(0));
  EXPECT_EQ(copy.GetAt(0)->owner, &copy);
  EXPECT_EQ(copy.GetAt(1)->flagged, 1);
  EXPECT_EQ(CurrentName(copy), "A");
  copy.CopyFrom(copy);  // copying onto itself keeps it
  EXPECT_EQ(Names(copy), "AB");
}

TEST(ItemList, GetNumberAndCloneOfTheBase) {
  class Plain : public CListItem {};
  Plain plain;
  EXPECT_EQ(plain.GetNumber(), 0);
  EXPECT_EQ(plain.Clone(), nullptr);
}

}  // namespace
}  // namespace pelo
