#include "document/color_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "document/palette_selection.h"
#include "items/item_list.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "support/body_reader.h"
#include "support/fresh_state_test.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::LoadBody;
using test::RecordWriter;

// A palette that failed or was released must hold no array and no
// selection, so none can disagree with its entry count.
void ExpectNothingHeld(const CColorPalette& palette) {
  EXPECT_EQ(palette.colors, nullptr);
  EXPECT_EQ(palette.entryFlags, nullptr);
  EXPECT_EQ(palette.entryValues, nullptr);
  EXPECT_EQ(palette.levels, nullptr);
  EXPECT_EQ(palette.components, nullptr);
  EXPECT_EQ(palette.modes, nullptr);
  EXPECT_EQ(palette.selection, nullptr);
}

using PaletteTest = test::FreshStateTest;

template <class T>
std::vector<T> Values(const std::unique_ptr<T[]>& array, std::size_t count) {
  return std::vector<T>(array.get(), array.get() + count);
}

void LoadPalette(CColorPalette& palette, const RecordWriter& body, int colorCount, int depth = 8,
                 int colorFormat = 0) {
  LoadBody(body.bytes(), [&](CBinaryReader& reader, std::uint32_t length) {
    palette.Load(reader, length, colorCount, depth, colorFormat);
  });
}

Bytes Sequence(std::size_t count, std::uint8_t first = 1) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

TEST_F(PaletteTest, NewEightBitDocumentPalette) {
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(256, 0, 8, 0, true));
  ASSERT_NE(palette.colors, nullptr);
  EXPECT_EQ(palette.ColorsBytes(), 768u);
  EXPECT_EQ(Values(palette.colors, 768), std::vector<std::uint8_t>(768, 0));
  EXPECT_EQ(palette.colors16, nullptr);
  EXPECT_EQ(Values(palette.levels, 256), std::vector<std::uint8_t>(256, 255));
  EXPECT_EQ(Values(palette.entryFlags, 256), std::vector<std::uint8_t>(256, 0));
  EXPECT_EQ(Values(palette.entryValues, 256), std::vector<std::uint32_t>(256, 0));
  EXPECT_EQ(Values(palette.components, 768), std::vector<std::uint16_t>(768, 0));
  EXPECT_EQ(Values(palette.modes, 256), std::vector<std::uint8_t>(256, 0));
  EXPECT_EQ(palette.name, "0");
  EXPECT_EQ(palette.number, 0);
  EXPECT_EQ(palette.colorCount, 256);
  EXPECT_EQ(palette.depth, 8);
  EXPECT_EQ(palette.colorFormat, 0);
  ASSERT_NE(palette.selection, nullptr);
  EXPECT_EQ(palette.selection->cellMask, nullptr);
  EXPECT_EQ(palette.selection->palette, nullptr);
  EXPECT_EQ(palette.selection->cellCount, 0);
  EXPECT_EQ(palette.selection->outline.head(), nullptr);
}

TEST_F(PaletteTest, CreateNamesAfterTheNumberAndTakesTheSettingsDefaults) {
  CItemSettings seed;
  seed.SetOption1(9, true);
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(4, -12, 8, 0, false));
  EXPECT_EQ(palette.name, "-12");
  EXPECT_EQ(palette.GetNumber(), -12);
  EXPECT_EQ(palette.selection, nullptr);
  EXPECT_EQ(palette.settings.amount, 100u);
  EXPECT_EQ(palette.settings.option1, 9);
  EXPECT_EQ(palette.settings.option2, 2);
}

struct ArrayCase {
  int depth;
  int colorFormat;
  bool colors;
  bool colors16;
  bool entryValues;
};

class PaletteArrays : public PaletteTest, public ::testing::WithParamInterface<ArrayCase> {};

TEST_P(PaletteArrays, FollowDepthAndColorFormat) {
  const ArrayCase& c = GetParam();
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(16, 0, c.depth, c.colorFormat, true));
  EXPECT_EQ(palette.colors != nullptr, c.colors);
  EXPECT_EQ(palette.colors16 != nullptr, c.colors16);
  EXPECT_EQ(palette.entryValues != nullptr, c.entryValues);
  EXPECT_NE(palette.entryFlags, nullptr);
  EXPECT_NE(palette.levels, nullptr);
  EXPECT_NE(palette.components, nullptr);
  EXPECT_NE(palette.modes, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    DepthsAndFormats, PaletteArrays,
    ::testing::Values(ArrayCase{8, 0, true, false, true}, ArrayCase{8, 1, false, true, true},
                      ArrayCase{4, 2, false, true, true}, ArrayCase{1, 0, true, false, true},
                      ArrayCase{1, 3, false, false, true}, ArrayCase{24, 0, true, false, false},
                      ArrayCase{24, 2, true, false, false}, ArrayCase{24, 7, true, false, false},
                      ArrayCase{15, 0, false, true, false}, ArrayCase{16, 0, false, true, false},
                      ArrayCase{16, 1, false, true, false}, ArrayCase{32, 0, false, false, false},
                      ArrayCase{2, 0, false, false, true}, ArrayCase{12, 0, false, false, false},
                      ArrayCase{0, 0, false, false, true}, ArrayCase{-1, 0, false, false, true}));

TEST_F(PaletteTest, CreateRefusesANegativeCount) {
  CColorPalette palette;
  EXPECT_FALSE(palette.Create(-1, 0, 8, 0, true));
  EXPECT_EQ(palette.colors, nullptr);
  EXPECT_EQ(palette.selection, nullptr);
}

TEST_F(PaletteTest, CreateWithNoEntries) {
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(0, 0, 8, 0, true));
  EXPECT_EQ(palette.ColorsBytes(), 0u);
  LoadPalette(palette, RecordWriter().Data(1005, Bytes(3, 7)).Dword(1001, 4), 0);
  EXPECT_EQ(palette.number, 4);
}

TEST_F(PaletteTest, CreateCatchesEveryFailedAllocationAndReleasesWhatItBuilt) {
  // Depth 8: colours, entry flags, entry values, levels, components, modes.
  for (long n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    CColorPalette palette;
    FailAllocationAt(n);
    EXPECT_FALSE(palette.Create(256, 3, 8, 0, true));
    FailAllocationAt(0);
    ExpectNothingHeld(palette);
  }
  CColorPalette palette;
  FailAllocationAt(7);  // nothing left to fail
  EXPECT_TRUE(palette.Create(256, 3, 8, 0, true));
}

TEST_F(PaletteTest, AFailedCreateLeavesNoArrayOfAnotherSize) {
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(4, 0, 8, 0, true));
  FailAllocationAt(2);
  EXPECT_FALSE(palette.Create(300, 0, 8, 0, true));
  EXPECT_EQ(palette.colors, nullptr);
  EXPECT_EQ(palette.levels, nullptr);
  EXPECT_EQ(palette.ColorsBytes(), 0u);
}

TEST_F(PaletteTest, TheLargestColorCountAllocatesEveryArray) {
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(65535, 0, 8, 0, true));
  EXPECT_EQ(palette.ColorsBytes(), 65535u * 3);
  EXPECT_EQ(palette.ComponentsBytes(), 65535u * 6);
  EXPECT_EQ(palette.EntryValuesBytes(), 65535u * 4);
  EXPECT_EQ(palette.levels[65534], 255);
  CColorPalette wide;
  ASSERT_TRUE(wide.Create(65535, 0, 16, 0, true));
  EXPECT_EQ(wide.Colors16Bytes(), 65535u * 2);
}

TEST_F(PaletteTest, ACountBeyondTheBufferLimitIsRefused) {
  CColorPalette palette;
  // 2^27 entries of six bytes exceed kMaxBufferBytes.
  EXPECT_FALSE(palette.Create(1 << 27, 0, 8, 0, true));
  EXPECT_EQ(palette.colors, nullptr);
}

TEST_F(PaletteTest, LoadWithoutNameOrNumberKeepsThoseOfCreate) {
  CColorPalette palette;
  LoadPalette(palette, RecordWriter().Byte(1003, 0), 16);
  EXPECT_EQ(palette.name, "0");
  EXPECT_EQ(palette.number, 0);
  EXPECT_EQ(palette.userFlag, 0);
  ASSERT_NE(palette.selection, nullptr);
}

TEST_F(PaletteTest, LoadReadsNameNumberAndSettings) {
  CColorPalette palette;
  RecordWriter body;
  body.Text(1000, "Warm").Dword(1001, 42).Dword(2000, 50).Byte(2001, 0).Byte(2002, 7);
  LoadPalette(palette, body, 16);
  EXPECT_EQ(palette.name, "Warm");
  EXPECT_EQ(palette.number, 42);
  EXPECT_EQ(palette.settings.amount, 50u);
  EXPECT_EQ(palette.settings.option1, 0);
  EXPECT_EQ(palette.settings.option2, 7);
  // 2000 does not remember; 2001 and 2002 do.
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
  EXPECT_EQ(CItemSettings::DefaultOption1(), 0);
  EXPECT_EQ(CItemSettings::DefaultOption2(), 7);
  CColorPalette later;
  EXPECT_EQ(later.settings.amount, 100u);
  EXPECT_EQ(later.settings.option1, 0);
  EXPECT_EQ(later.settings.option2, 7);
}

TEST_F(PaletteTest, FlagRecordsMoveTheOwningListsCounters) {
  CItemList list;
  auto* palette = static_cast<CColorPalette*>(list.Append(std::make_unique<CColorPalette>()));
  // The stored values: nothing moves.
  LoadPalette(*palette, RecordWriter().Byte(1002, 0).Byte(1004, 0), 4);
  EXPECT_EQ(list.flaggedCount, 0);
  EXPECT_EQ(list.selectedCount, 0);
  EXPECT_EQ(list.selectedFlaggedCount, 0);
  // New values move them.
  LoadPalette(*palette, RecordWriter().Byte(1004, 1).Byte(1002, 1), 4);
  EXPECT_EQ(list.selectedCount, 1);
  EXPECT_EQ(list.flaggedCount, 1);
  EXPECT_EQ(list.selectedFlaggedCount, 1);
  EXPECT_EQ(palette->flagged, 1);
  EXPECT_EQ(palette->selected, 1);
}

TEST_F(PaletteTest, RawRecordsFillTheirArrays) {
  CColorPalette palette;
  Bytes colors(12, 0);
  colors[0] = 0x10;
  colors[1] = 0x20;
  colors[2] = 0x30;
  RecordWriter body;
  body.Data(1005, colors)
      .Data(1007, {1, 2, 3, 4})
      .Data(1008, {5, 6, 7, 8})
      .Data(1009, Sequence(24))
      .Data(1010, {9, 10, 11, 12});
  LoadPalette(palette, body, 4);
  EXPECT_EQ(Values(palette.colors, 12), colors);
  EXPECT_EQ(Values(palette.entryFlags, 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(Values(palette.levels, 4), (std::vector<std::uint8_t>{5, 6, 7, 8}));
  EXPECT_EQ(palette.components[0], 0x0201);
  EXPECT_EQ(palette.components[11], 0x1817);
  EXPECT_EQ(Values(palette.modes, 4), (std::vector<std::uint8_t>{9, 10, 11, 12}));
}

TEST_F(PaletteTest, SixteenBitColorsAreRaw) {
  CColorPalette palette;
  LoadPalette(palette, RecordWriter().Data(1006, {0x34, 0x12, 0x78, 0x56}), 2, 8, 1);
  ASSERT_NE(palette.colors16, nullptr);
  EXPECT_EQ(palette.colors16[0], 0x1234);
  EXPECT_EQ(palette.colors16[1], 0x5678);
}

TEST_F(PaletteTest, AShortRawRecordFillsTheLeadingBytes) {
  CColorPalette palette;
  LoadPalette(palette, RecordWriter().Data(1005, {1, 2, 3, 4}).Data(1008, {9}), 4);
  EXPECT_EQ(Values(palette.colors, 12), (Bytes{1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Values(palette.levels, 4), (std::vector<std::uint8_t>{9, 255, 255, 255}));
}

TEST_F(PaletteTest, ALongRawRecordFillsTheArrayAndTheRestIsSkipped) {
  CColorPalette palette;
  RecordWriter body;
  body.Data(1005, Sequence(12 + 5)).Data(1007, Sequence(4 + 100, 50)).Dword(1001, 77);
  LoadPalette(palette, body, 4);
  EXPECT_EQ(Values(palette.colors, 12), Sequence(12));
  EXPECT_EQ(Values(palette.entryFlags, 4), Sequence(4, 50));
  EXPECT_EQ(palette.number, 77);  // the next record is read from its own start
}

TEST_F(PaletteTest, ARawRecordForAMissingArrayIsSkipped) {
  CColorPalette wide;  // depth 16: colors16 only
  LoadPalette(wide, RecordWriter().Data(1005, Sequence(6)).Dword(1001, 5), 2, 16);
  EXPECT_EQ(wide.colors, nullptr);
  EXPECT_EQ(Values(wide.colors16, 2), (std::vector<std::uint16_t>{0, 0}));
  EXPECT_EQ(wide.number, 5);
  CColorPalette narrow;  // depth 8, format 0: colors only
  LoadPalette(narrow, RecordWriter().Data(1006, Sequence(4)).Dword(1001, 6), 2);
  EXPECT_EQ(narrow.colors16, nullptr);
  EXPECT_EQ(Values(narrow.colors, 6), Bytes(6, 0));
  EXPECT_EQ(narrow.number, 6);
}

TEST_F(PaletteTest, ARawRecordCutOffByTheEndOfTheDataRaises) {
  CColorPalette palette;
  RecordWriter body;
  body.Header(1005, 12).Raw({1, 2, 3});
  EXPECT_THROW(LoadPalette(palette, body, 4), CFileException);
  EXPECT_EQ(Values(palette.colors, 3), (Bytes{1, 2, 3}));
}

TEST_F(PaletteTest, LoadRaisesTheMemoryFailureOfItsCreate) {
  CColorPalette palette;
  FailAllocationAt(1);
  EXPECT_THROW(LoadPalette(palette, RecordWriter().Dword(1001, 3), 4), CMemoryException);
}

TEST_F(PaletteTest, UnknownTagsAreSkipped) {
  CColorPalette palette;
  LoadPalette(palette, RecordWriter().Dword(9999, 1).Data(1012, Bytes(9, 1)).Dword(1001, 8), 4);
  EXPECT_EQ(palette.number, 8);
}

// --- palette selection ---------------------------------------------------

Bytes MaskWith(std::initializer_list<int> cells, std::uint8_t value = 1) {
  Bytes mask(256, 0);
  for (int cell : cells) mask[static_cast<std::size_t>(cell)] = value;
  return mask;
}

TEST_F(PaletteTest, AZeroMaskLeavesTheSelectionEmpty) {
  CColorPalette palette;
  LoadPalette(palette, RecordWriter().Nested(1011, RecordWriter().Data(1000, Bytes(256, 0))), 256);
  const CPaletteSelection& selection = *palette.selection;
  EXPECT_EQ(selection.cellMask, nullptr);
  EXPECT_EQ(selection.palette, nullptr);
  EXPECT_EQ(selection.cellCount, 0);
  EXPECT_EQ(selection.outline.head(), nullptr);
}

TEST_F(PaletteTest, MarkedCellsMakeASubPaletteAndAnOutline) {
  CColorPalette palette;
  RecordWriter selectionBody;
  selectionBody.Data(1000, MaskWith({0, 1}, 1))
      .Data(1000,
            [] {
              Bytes mask = MaskWith({0, 1}, 1);
              mask[17] = 0xFF;  // any nonzero byte counts
              return mask;
            }())
      .Data(1001, Sequence(9))
      .Data(1003, {4, 5, 6})
      .Data(1004, {7, 8, 9})
      .Data(1005, Sequence(18, 100))
      .Data(1006, {1, 1, 1});
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody), 256);
  const CPaletteSelection& selection = *palette.selection;
  EXPECT_EQ(selection.cellCount, 3);
  ASSERT_NE(selection.cellMask, nullptr);
  EXPECT_EQ(selection.cellMask[17], 0xFF);
  ASSERT_NE(selection.palette, nullptr);
  const CColorPalette& sub = *selection.palette;
  EXPECT_EQ(sub.colorCount, 3);
  EXPECT_EQ(sub.depth, 8);
  EXPECT_EQ(sub.name, "0");
  EXPECT_EQ(sub.number, 0);
  ASSERT_NE(sub.selection, nullptr);  // an empty selection of its own
  EXPECT_EQ(sub.selection->cellMask, nullptr);
  EXPECT_EQ(Values(sub.colors, 9), Sequence(9));
  EXPECT_EQ(Values(sub.entryFlags, 3), (std::vector<std::uint8_t>{4, 5, 6}));
  EXPECT_EQ(Values(sub.levels, 3), (std::vector<std::uint8_t>{7, 8, 9}));
  EXPECT_EQ(sub.components[0], 100 | (101 << 8));
  EXPECT_EQ(Values(sub.modes, 3), (std::vector<std::uint8_t>{1, 1, 1}));
  // Cells (0, 0), (1, 0) and (1, 1): one contour of eight sides.
  int segments = 0;
  for (const OutlineSegment* s = selection.outline.head(); s != nullptr; s = s->next.get())
    ++segments;
  EXPECT_EQ(segments, 8);
  EXPECT_EQ(selection.outline.head()->x, 0);
  EXPECT_EQ(selection.outline.head()->direction, COutlineList::kTop);
}

TEST_F(PaletteTest, SelectionRecordsBeforeAMarkedCellAreSkipped) {
  CColorPalette palette;
  RecordWriter selectionBody;
  selectionBody.Data(1001, Sequence(3))
      .Data(1000, Bytes(256, 0))
      .Data(1003, {4})
      .Data(1000, MaskWith({5}))
      .Data(1004, {9});
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody), 256);
  const CColorPalette& sub = *palette.selection->palette;
  EXPECT_EQ(Values(sub.colors, 3), Bytes(3, 0));
  EXPECT_EQ(sub.entryFlags[0], 0);
  EXPECT_EQ(sub.levels[0], 9);
}

TEST_F(PaletteTest, ASelectionRecordForAMissingSubPaletteArrayIsSkipped) {
  CColorPalette palette;
  RecordWriter selectionBody;
  selectionBody.Data(1000, MaskWith({3})).Data(1002, {1, 2}).Data(1001, {7, 8, 9});
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody), 256);
  const CColorPalette& sub = *palette.selection->palette;
  EXPECT_EQ(sub.colors16, nullptr);
  EXPECT_EQ(Values(sub.colors, 3), (Bytes{7, 8, 9}));
}

TEST_F(PaletteTest, AShortMaskPayloadLeavesTheRestOfTheMaskZero) {
  CColorPalette palette;
  RecordWriter selectionBody;
  selectionBody.Data(1000, {1, 0, 1});
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody), 256);
  const CPaletteSelection& selection = *palette.selection;
  EXPECT_EQ(selection.cellCount, 2);
  ASSERT_NE(selection.cellMask, nullptr);
  EXPECT_EQ(Values(selection.cellMask, 256), MaskWith({0, 2}));
}

TEST_F(PaletteTest, ALongMaskPayloadIsReadAsFarAs256Bytes) {
  CColorPalette palette;
  Bytes mask(300, 1);  // cell 255 marked, then 44 bytes past the mask
  std::fill_n(mask.begin(), 255, std::uint8_t{0});
  RecordWriter selectionBody;
  selectionBody.Data(1000, mask).Data(1001, {4, 5, 6});
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody).Dword(1001, 3), 256);
  const CPaletteSelection& selection = *palette.selection;
  EXPECT_EQ(selection.cellCount, 1);
  EXPECT_EQ(Values(selection.palette->colors, 3), (Bytes{4, 5, 6}));
  EXPECT_EQ(palette.number, 3);
}

TEST_F(PaletteTest, ALaterMaskReplacesTheEarlierSelection) {
  CColorPalette palette;
  RecordWriter selectionBody;
  selectionBody.Data(1000, MaskWith({1, 2, 3})).Data(1000, Bytes(256, 0));
  LoadPalette(palette, RecordWriter().Nested(1011, selectionBody), 256);
  EXPECT_EQ(palette.selection->cellCount, 0);
  EXPECT_EQ(palette.selection->palette, nullptr);
  EXPECT_EQ(palette.selection->outline.head(), nullptr);
}

TEST_F(PaletteTest, AFailedSubPaletteEndsTheLoadAsAMemoryFailure) {
  CPaletteSelection selection;
  const Bytes body = RecordWriter().Data(1000, MaskWith({1})).bytes();
  // Allocation 1 is the mask, 2 the sub-palette's colours.
  FailAllocationAt(2);
  EXPECT_THROW(LoadBody(body, [&](CBinaryReader& reader,
                                  std::uint32_t length) { selection.Load(reader, length, 8, 0); }),
               CMemoryException);
}

TEST_F(PaletteTest, SetMaskReportsAFailedSubPaletteAndKeepsIt) {
  CPaletteSelection selection;
  auto mask = std::make_unique<std::uint8_t[]>(256);
  mask[4] = 1;
  FailAllocationAt(1);
  EXPECT_FALSE(selection.SetMask(std::move(mask), 8, 0));
  EXPECT_NE(selection.palette, nullptr);
  EXPECT_EQ(selection.cellCount, 1);
  selection.Clear();
  EXPECT_EQ(selection.palette, nullptr);
  EXPECT_EQ(selection.cellMask, nullptr);
  EXPECT_EQ(selection.cellCount, 0);
}

// --- copies ----------------------------------------------------------------

TEST_F(PaletteTest, CloneGivesAnEqualIndependentPalette) {
  CItemList list;
  auto* source = static_cast<CColorPalette*>(list.Append(std::make_unique<CColorPalette>()));
  RecordWriter selectionBody;
  selectionBody.Data(1000, MaskWith({0, 16})).Data(1001, Sequence(6, 40)).Data(1004, {3, 4});
  RecordWriter body;
  body.Text(1000, "Cool")
      .Dword(1001, 9)
      .Byte(1002, 1)
      .Byte(1003, 0)
      .Byte(1004, 1)
      .Data(1005, Sequence(12))
      .Data(1008, {1, 2, 3, 4})
      .Data(1009, Sequence(24, 60))
      .Dword(2000, 33)
      .Nested(1011, selectionBody);
  LoadPalette(*source, body, 4);
  CItemSettings::ResetDefaults();

  std::unique_ptr<CListItem> item = source->Clone();
  auto* copy = dynamic_cast<CColorPalette*>(item.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->name, "Cool");
  EXPECT_EQ(copy->number, 9);
  EXPECT_EQ(copy->colorCount, 4);
  EXPECT_EQ(copy->depth, 8);
  EXPECT_EQ(Values(copy->colors, 12), Sequence(12));
  EXPECT_EQ(Values(copy->levels, 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(Values(copy->components, 12), Values(source->components, 12));
  EXPECT_EQ(copy->settings.amount, 33u);
  // The flags keep their defaults; the owner is the taker's to set.
  EXPECT_EQ(copy->flagged, 0);
  EXPECT_EQ(copy->selected, 0);
  EXPECT_EQ(copy->userFlag, 1);
  EXPECT_EQ(copy->owner, nullptr);
  ASSERT_NE(copy->selection, nullptr);
  EXPECT_EQ(copy->selection->cellCount, 2);
  EXPECT_EQ(Values(copy->selection->cellMask, 256), MaskWith({0, 16}));
  ASSERT_NE(copy->selection->palette, nullptr);
  EXPECT_EQ(Values(copy->selection->palette->colors, 6), Sequence(6, 40));
  EXPECT_EQ(Values(copy->selection->palette->levels, 2), (std::vector<std::uint8_t>{3, 4}));
  EXPECT_NE(copy->selection->outline.head(), nullptr);
  // Independent buffers.
  copy->colors[0] = 0xEE;
  copy->selection->cellMask[0] = 0;
  copy->selection->palette->colors[0] = 0xEE;
  EXPECT_EQ(source->colors[0], 1);
  EXPECT_EQ(source->selection->cellMask[0], 1);
  EXPECT_EQ(source->selection->palette->colors[0], 40);
}

TEST_F(PaletteTest, CopyFromAPaletteWithoutSelection) {
  CColorPalette source;
  ASSERT_TRUE(source.Create(2, 5, 24, 0, false));
  source.colors[5] = 9;
  CColorPalette copy;
  ASSERT_TRUE(copy.CopyFrom(source));
  EXPECT_EQ(copy.number, 5);
  EXPECT_EQ(copy.name, "5");
  EXPECT_EQ(copy.colors[5], 9);
  EXPECT_EQ(copy.entryValues, nullptr);
  ASSERT_NE(copy.selection, nullptr);
  EXPECT_EQ(copy.selection->cellMask, nullptr);
}

TEST_F(PaletteTest, CopyFromReportsAFailedCreate) {
  CColorPalette source;
  ASSERT_TRUE(source.Create(2, 5, 8, 0, true));
  CColorPalette copy;
  FailAllocationAt(1);
  EXPECT_FALSE(copy.CopyFrom(source));
}

TEST_F(PaletteTest, CreateLikeTakesDepthAndFormat) {
  CColorPalette source;
  ASSERT_TRUE(source.Create(10, 3, 8, 1, true));
  CColorPalette like;
  ASSERT_TRUE(like.CreateLike(source, -1, false));
  EXPECT_EQ(like.colorCount, 10);
  EXPECT_EQ(like.number, 0);
  EXPECT_NE(like.colors16, nullptr);
  EXPECT_EQ(like.selection, nullptr);
  CColorPalette smaller;
  ASSERT_TRUE(smaller.CreateLike(source, 3, true));
  EXPECT_EQ(smaller.colorCount, 3);
}

TEST_F(PaletteTest, CopyEntriesCopiesEveryArrayThisPaletteHas) {
  CColorPalette source;
  ASSERT_TRUE(source.Create(4, 0, 8, 0, true));
  for (int i = 0; i < 4; ++i) {
    source.entryFlags[i] = static_cast<std::uint8_t>(i + 1);
    source.entryValues[i] = static_cast<std::uint32_t>(i * 1000);
    source.modes[i] = 3;
  }
  CColorPalette copy;
  ASSERT_TRUE(copy.Create(2, 0, 8, 0, false));
  copy.CopyEntries(source);
  EXPECT_EQ(Values(copy.entryFlags, 2), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(Values(copy.entryValues, 2), (std::vector<std::uint32_t>{0, 1000}));
  EXPECT_EQ(Values(copy.modes, 2), (std::vector<std::uint8_t>{3, 3}));
}

TEST_F(PaletteTest, FreeBuffersReleasesEverything) {
  CColorPalette palette;
  ASSERT_TRUE(palette.Create(4, 0, 8, 0, true));
  palette.FreeBuffers();
  ExpectNothingHeld(palette);
}

}  // namespace
}  // namespace pelo
