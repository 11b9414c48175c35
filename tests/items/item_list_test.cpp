#include "items/item_list.h"

#include <gtest/gtest.h>

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

TEST(ItemList, ANewListIsEmpty) {
  CItemList list;
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(Of(list), (Counters{-1, 0, 0, 0}));
  EXPECT_EQ(list.GetCurrent(), nullptr);
}

TEST(ItemList, TheFirstInsertionBecomesCurrent) {
  CItemList list;
  auto item = Make("A");
  Item* a = item.get();
  list.InsertAt(0, std::move(item), true);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(Of(list), (Counters{0, 1, 0, 0}));
  EXPECT_EQ(list.GetCurrent(), a);
  EXPECT_EQ(a->owner, &list);
}

TEST(ItemList, InsertingInFrontKeepsTheCurrentItem) {
  CItemList list;
  MakeAB(list);
  const Counters before = Of(list);
  list.InsertAt(0, Make("C"), true);
  EXPECT_EQ(Names(list), "CAB");
  EXPECT_EQ(CurrentName(list), "A");
  EXPECT_EQ(list.currentIndex, 1);
  EXPECT_EQ(list.selectedCount, before.selected);
}

TEST(ItemList, InsertingBehindKeepsTheCurrentIndex) {
  CItemList list;
  MakeAB(list);
  list.InsertAt(2, Make("C"), true);
  EXPECT_EQ(Names(list), "ABC");
  EXPECT_EQ(CurrentName(list), "A");
  EXPECT_EQ(list.currentIndex, 0);
}

TEST(ItemList, InsertingWithoutKeepCurrentLeavesNone) {
  CItemList list;
  MakeAB(list);
  const Counters before = Of(list);
  list.InsertAt(0, Make("C"), false);
  EXPECT_EQ(Names(list), "CAB");
  EXPECT_EQ(list.currentIndex, -1);
  EXPECT_EQ(list.GetCurrent(), nullptr);
  EXPECT_EQ(list.selectedCount, before.selected - 1);
}

TEST(ItemList, InsertingPastTheEndLeavesEmptySlots) {
  CItemList list;
  list.InsertAt(0, Make("A"), true);
  list.InsertAt(3, Make("D"), true);
  EXPECT_EQ(Names(list), "A__D");
  EXPECT_EQ(list.GetAt(1), nullptr);
  EXPECT_EQ(list.IsFlaggedAt(1), 0);
  EXPECT_EQ(CurrentName(list), "A");
}

TEST(ItemList, ANegativePositionInsertsAtTheFront) {
  CItemList list;
  MakeAB(list);
  list.InsertAt(-4, Make("C"), true);
  EXPECT_EQ(Names(list), "CAB");
  EXPECT_EQ(CurrentName(list), "A");
}

TEST(ItemList, InsertingAFlaggedSelectedItemCountsIt) {
  CItemList list;
  list.InsertAt(0, Make("A"), true);
  auto c = Make("C");
  c->flagged = 1;
  c->selected = 1;
  list.InsertAt(1, std::move(c), true);
  EXPECT_EQ(Of(list), (Counters{0, 2, 1, 1}));
}

TEST(ItemList, TheFirstInsertionResetsTheCounters) {
  CItemList list;
  list.SetCurrent(3);
  list.SetCurrent(4);
  auto a = Make("A");
  a->flagged = 1;
  list.InsertAt(0, std::move(a), false);
  EXPECT_EQ(Of(list), (Counters{-1, 0, 0, 0}));
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
