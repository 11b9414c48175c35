#include "document/image_document.h"

#include <gtest/gtest.h>

#include <string>

#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/body_reader.h"
#include "support/document_writer.h"
#include "support/fresh_state_test.h"
#include "support/loader_texts.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::ContainerOptions;
using test::DocumentDesc;
using test::MakeContainer;
using test::PageDesc;
using test::PaletteDesc;
using test::RecordWriter;
using test::WalkBody;

using test::kInflateFailed;

using DocumentTest = test::FreshStateTest;

void Walk(CImageDocument& document, const RecordWriter& body) {
  WalkBody(body.bytes(), DocumentRecordHandler, &document);
}

const CPage* Page(const CImageDocument& document, int index) {
  return static_cast<const CPage*>(document.pages.GetAt(index));
}
const CColorPalette* Palette(const CImageDocument& document, int index) {
  return static_cast<const CColorPalette*>(document.palettes.GetAt(index));
}

PageDesc SmallPage(const char* name, std::uint16_t size = 2) {
  PageDesc page;
  page.name = name;
  page.width = size;
  page.height = size;
  page.layers.push_back({"Layer000", 1, Bytes(std::size_t{size} * size, 1), {}, {}});
  return page;
}

// --- construction, Create, AddPage, AddPalette, Clear -----------------------

TEST_F(DocumentTest, CreateWithContentAsTheLegacyReaderCallsIt) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(320, 240, 8, 256, 0, true));
  EXPECT_EQ(document.valid, 1);
  EXPECT_EQ(document.depth, 8);
  EXPECT_EQ(document.colorCount, 256u);
  ASSERT_EQ(document.pages.GetCount(), 1);
  ASSERT_EQ(document.palettes.GetCount(), 1);
  const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->number, 0);
  EXPECT_EQ(page->width, 320);
  EXPECT_EQ(page->height, 240);
  const auto* palette = static_cast<const CColorPalette*>(document.palettes.GetCurrent());
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->number, 0);
  EXPECT_EQ(palette->colorCount, 256);
  EXPECT_NE(palette->colors, nullptr);
  EXPECT_NE(palette->selection, nullptr);
  EXPECT_EQ(palette->owner, &document.palettes);
  EXPECT_EQ(page->owner, &document.pages);
  EXPECT_EQ(document.nextPageNumber, 1u);
  EXPECT_EQ(document.nextPaletteNumber, 1u);
}

TEST_F(DocumentTest, CreateWithoutContent) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(1, 1, 24, 0, 2, false));
  EXPECT_EQ(document.valid, 1);
  EXPECT_EQ(document.depth, 24);
  EXPECT_EQ(document.colorFormat, 2);
  EXPECT_EQ(document.pages.GetCount(), 0);
  EXPECT_EQ(document.palettes.GetCount(), 0);
}

TEST_F(DocumentTest, CreateChecksTheDepthAndCount) {
  for (int depth : {0, 2, 3, 7, 12, 32, -8}) {
    SCOPED_TRACE(depth);
    CImageDocument document;
    EXPECT_FALSE(document.Create(4, 4, depth, 256, 0, true));
    EXPECT_EQ(document.valid, 0);
    EXPECT_EQ(document.pages.GetCount(), 0);
  }
  CImageDocument document;
  EXPECT_FALSE(document.Create(4, 4, 8, -1, 0, false));
  EXPECT_FALSE(document.Create(4, 4, 8, 65536, 0, false));
  EXPECT_TRUE(document.Create(4, 4, 8, 65535, 0, true));
  EXPECT_EQ(Palette(document, 0)->colorCount, 65535);
}

TEST_F(DocumentTest, CreateFailsWhenThePaletteCannotBeMade) {
  CImageDocument document;
  // Allocation 1 is the page's layer, 2 the palette's colours.
  FailAllocationAt(2);
  EXPECT_FALSE(document.Create(4, 4, 8, 256, 0, true));
  EXPECT_EQ(document.valid, 0);
  EXPECT_EQ(document.palettes.GetCount(), 0);
  EXPECT_EQ(document.nextPaletteNumber, 0u);
}

TEST_F(DocumentTest, AddPageAndAddPaletteRefuseWhileNotValid) {
  CImageDocument document;
  EXPECT_FALSE(document.AddPage(0, 4, 4, true));
  EXPECT_FALSE(document.AddPalette(0, true));
  EXPECT_EQ(document.nextPageNumber, 0u);
  EXPECT_EQ(document.nextPaletteNumber, 0u);
}

TEST_F(DocumentTest, AddPageOnALoadedDocumentReturnsFalse) {
  CImageDocument document;
  DocumentDesc desc;
  desc.pages.push_back(SmallPage("one"));
  Walk(document, test::DocumentBody(desc));
  EXPECT_EQ(document.valid, 0);
  EXPECT_FALSE(document.AddPage(0, 2, 2, true));
  EXPECT_EQ(document.pages.GetCount(), 1);
}

TEST_F(DocumentTest, AddPageNumbersAndPlacesPages) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(2, 2, 8, 16, 0, true));
  ASSERT_TRUE(document.AddPage(0, 3, 3, false));  // number 1, not advanced
  ASSERT_TRUE(document.AddPage(2, 4, 4, true));   // number 1 again, at the end
  ASSERT_EQ(document.pages.GetCount(), 3);
  EXPECT_EQ(Page(document, 0)->number, 1);
  EXPECT_EQ(Page(document, 0)->width, 3);
  EXPECT_EQ(Page(document, 1)->number, 0);
  EXPECT_EQ(Page(document, 2)->number, 1);
  EXPECT_EQ(document.nextPageNumber, 2u);
  // The first page stays current.
  EXPECT_EQ(document.pages.GetCurrent(), Page(document, 1));
  EXPECT_FALSE(document.AddPage(-1, 2, 2, true));
}

TEST_F(DocumentTest, AddPageThatCannotBeCreatedAddsNothing) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(2, 2, 8, 16, 0, false));
  // A first layer past the buffer limit.
  EXPECT_FALSE(document.AddPage(0, 0x7FFFFFFF, 0x7FFFFFFF, true));
  EXPECT_EQ(document.pages.GetCount(), 0);
  EXPECT_EQ(document.nextPageNumber, 0u);
}

TEST_F(DocumentTest, AddPaletteNumbersAndKeepsTheCurrentOne) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(2, 2, 8, 16, 0, true));
  ASSERT_TRUE(document.AddPalette(0, true));
  ASSERT_EQ(document.palettes.GetCount(), 2);
  EXPECT_EQ(Palette(document, 0)->number, 1);
  EXPECT_EQ(Palette(document, 0)->name, "1");
  EXPECT_EQ(document.palettes.GetCurrent(), Palette(document, 1));
  EXPECT_EQ(document.nextPaletteNumber, 2u);
  FailAllocationAt(1);
  EXPECT_FALSE(document.AddPalette(0, true));
  EXPECT_EQ(document.palettes.GetCount(), 2);
  EXPECT_EQ(document.nextPaletteNumber, 2u);
}

TEST_F(DocumentTest, ClearKeepsTheSettings) {
  CImageDocument document;
  ASSERT_TRUE(document.Create(2, 2, 8, 16, 1, true));
  Walk(document, RecordWriter().Nested(1004, RecordWriter().Byte(1000, 1)).Dword(3006, 5));
  document.Clear();
  EXPECT_EQ(document.valid, 0);
  EXPECT_EQ(document.pages.GetCount(), 0);
  EXPECT_EQ(document.palettes.GetCount(), 0);
  EXPECT_EQ(document.pages.currentIndex, -1);
  EXPECT_EQ(document.palettes.currentIndex, -1);
  EXPECT_EQ(document.pages.selectedCount, 0);
  EXPECT_EQ(document.orderTable, nullptr);
  EXPECT_EQ(document.depth, 8);
  EXPECT_EQ(document.colorCount, 16u);
  EXPECT_EQ(document.colorFormat, 1);
  EXPECT_EQ(document.nextPageNumber, 1u);
  EXPECT_EQ(document.backgroundColor.index, 5);
  // Created again from the kept state.
  ASSERT_TRUE(document.Create(2, 2, 8, 16, 0, true));
  EXPECT_EQ(Page(document, 0)->number, 1);
}

// --- DocumentRecordHandler ---------------------------------------------------

TEST_F(DocumentTest, AWholeBodyGivesCurrentPaletteAndPage) {
  CImageDocument document;
  DocumentDesc desc;
  desc.depth = 8;
  desc.colorFormat = 0;
  desc.colorCount = 16;
  desc.palettes.push_back({"pal", Bytes(48, 3), {}});
  desc.pages.push_back(SmallPage("page"));
  Walk(document, test::DocumentBody(desc));
  EXPECT_EQ(document.depth, 8);
  const auto* palette = static_cast<const CColorPalette*>(document.palettes.GetCurrent());
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->colorCount, 16);
  EXPECT_EQ(palette->name, "pal");
  EXPECT_EQ(palette->colors[47], 3);
  EXPECT_EQ(palette->owner, &document.palettes);
  const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->name, "page");
  EXPECT_EQ(page->depth, 8);
  EXPECT_EQ(page->width, 2);
  EXPECT_EQ(page->layers.GetCount(), 1);
  EXPECT_EQ(page->owner, &document.pages);
}

TEST_F(DocumentTest, ColorCountAndForegroundIndex) {
  CImageDocument document;
  Walk(document, RecordWriter().Word(3001, 256).Dword(3005, 0x1234));
  EXPECT_EQ(document.colorCount, 256u);
  EXPECT_EQ(document.foregroundColor.index, 0x34);
  Walk(document, RecordWriter().Word(3001, 0xFFFF).Dword(3006, 0xABCD));
  EXPECT_EQ(document.colorCount, 65535u);
  EXPECT_EQ(document.backgroundColor.index, 0xCD);
}

TEST_F(DocumentTest, BankMode) {
  CImageDocument document;
  Walk(document, RecordWriter().Dword(4000, 0x00100008));
  EXPECT_EQ(document.bankMode, 1);
  EXPECT_EQ(document.bankLow, 8u);
  EXPECT_EQ(document.bankHigh, 16u);
  CImageDocument plain;
  Walk(plain, RecordWriter().Byte(1000, 8));
  EXPECT_EQ(plain.bankMode, 0);
  EXPECT_EQ(plain.bankLow, 8u);
  EXPECT_EQ(plain.bankHigh, 8u);
  Walk(plain, RecordWriter().Dword(4000, 0));
  EXPECT_EQ(plain.bankMode, 1);
  EXPECT_EQ(plain.bankLow, 0u);
  EXPECT_EQ(plain.bankHigh, 0u);
}

TEST_F(DocumentTest, TwoOrderTableRecordsFillTheSameTable) {
  CImageDocument document;
  Walk(document, RecordWriter().Nested(1004, RecordWriter().Byte(1000, 9)));
  ASSERT_NE(document.orderTable, nullptr);
  const COrderTable* first = document.orderTable.get();
  Walk(document, RecordWriter().Nested(1004, RecordWriter().Byte(1001, 8)));
  EXPECT_EQ(document.orderTable.get(), first);
  EXPECT_EQ(document.orderTable->order, (std::array<std::uint8_t, 4>{9, 8, 1, 0}));
}

TEST_F(DocumentTest, ColorSettingBodies) {
  CImageDocument document;
  RecordWriter body;
  body.Nested(3007, RecordWriter().Data(1001, {0x10, 0x20, 0x30}))
      .Nested(3008, RecordWriter().Data(1001, {1, 2, 3, 4, 5}).Byte(1004, 6).Byte(1000, 7));
  Walk(document, body);
  EXPECT_EQ(document.foregroundColor.color, (std::array<std::uint8_t, 3>{0x10, 0x20, 0x30}));
  EXPECT_EQ(document.backgroundColor.color, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(document.backgroundColor.mode, 6);
  EXPECT_EQ(document.backgroundColor.index, 7);
}

TEST_F(DocumentTest, TwoPagesAndTheSecondCurrent) {
  CImageDocument document;
  DocumentDesc desc;
  desc.pages.push_back(SmallPage("first"));
  desc.pages.push_back(SmallPage("second"));
  desc.currentPage = 1;
  Walk(document, test::DocumentBody(desc));
  ASSERT_EQ(document.pages.GetCount(), 2);
  EXPECT_EQ(document.pages.GetCurrent(), Page(document, 1));
  EXPECT_EQ(Page(document, 1)->name, "second");
}

TEST_F(DocumentTest, ACurrentItemRecordNamingNoItemLeavesNoCurrentItem) {
  CImageDocument document;
  DocumentDesc desc;
  desc.colorCount = 4;
  desc.palettes.push_back({"p", {}, {}});
  desc.currentPalette = 5;
  desc.pages.push_back(SmallPage("page"));
  desc.currentPage = -1;
  Walk(document, test::DocumentBody(desc));
  EXPECT_EQ(document.palettes.currentIndex, 5);
  EXPECT_EQ(document.palettes.GetCurrent(), nullptr);
  EXPECT_EQ(document.pages.currentIndex, -1);
  EXPECT_EQ(document.pages.GetCurrent(), nullptr);
}

TEST_F(DocumentTest, ACurrentItemRecordBeforeItsItemsCountsAgainstTheListOfThatMoment) {
  CImageDocument document;
  RecordWriter body;
  body.Dword(3004, 0).Word(3001, 4).Nested(3003, RecordWriter());
  Walk(document, body);
  // The index is stored, and once the palette is there it is current.
  EXPECT_EQ(document.palettes.currentIndex, 0);
  EXPECT_EQ(document.palettes.GetCurrent(), Palette(document, 0));
}

TEST_F(DocumentTest, ObjectsTakeTheSettingsOfTheMomentTheyAreMet) {
  CImageDocument document;
  RecordWriter body;
  body.Nested(3003, RecordWriter())
      .Byte(1000, 24)
      .Byte(1001, 1)
      .Word(3001, 8)
      .Nested(3003, RecordWriter())
      .Nested(2003, RecordWriter().Word(1005, 1).Word(1006, 1));
  Walk(document, body);
  ASSERT_EQ(document.palettes.GetCount(), 2);
  EXPECT_EQ(Palette(document, 0)->colorCount, 0);
  EXPECT_EQ(Palette(document, 0)->depth, 0);
  EXPECT_EQ(Palette(document, 1)->colorCount, 8);
  EXPECT_EQ(Palette(document, 1)->depth, 24);
  EXPECT_EQ(Palette(document, 1)->colorFormat, 1);
  EXPECT_NE(Palette(document, 1)->colors, nullptr);  // depth 24: colours whatever the format
  EXPECT_EQ(Page(document, 0)->depth, 24);
}

TEST_F(DocumentTest, StoredOnlyValuesAndIgnoredRecords) {
  CImageDocument document;
  RecordWriter body;
  body.Byte(1002, 0xA1)
      .Byte(1003, 0xB2)
      .Word(2000, 0xFFFF)
      .Dword(2001, 77)
      .Byte(2002, 0xC3)
      .Word(3000, 0xFFFF)
      .Dword(3002, 88)
      .Nested(1005, RecordWriter().Byte(1000, 0).Byte(1001, 4))
      .Dword(9999, 1)
      .Data(5000, Bytes(100, 0xEE))
      .Byte(1000, 4);
  Walk(document, body);
  EXPECT_EQ(document.docByteA, 0xA1);
  EXPECT_EQ(document.docByteB, 0xB2);
  EXPECT_EQ(document.nextPageNumber, 77u);
  EXPECT_EQ(document.pageByte, 0xC3);
  EXPECT_EQ(document.nextPaletteNumber, 88u);
  EXPECT_EQ(document.options.flagA, 0);
  EXPECT_EQ(document.options.flagB, 4);
  EXPECT_EQ(document.depth, 4);  // read after the unknown records
  EXPECT_EQ(document.colorCount, 0u);
}

TEST_F(DocumentTest, TheDepthByteIsStoredUnchecked) {
  CImageDocument document;
  Walk(document, RecordWriter().Byte(1000, 13));
  EXPECT_EQ(document.depth, 13);
}

TEST_F(DocumentTest, AppendedItemsMoveCountersOnlyThroughTheirOwnRecords) {
  CImageDocument document;
  RecordWriter body;
  body.Word(3001, 2)
      .Nested(3003, RecordWriter().Byte(1004, 1).Byte(1002, 1))
      .Nested(3003, RecordWriter());
  Walk(document, body);
  EXPECT_EQ(document.palettes.selectedCount, 1);
  EXPECT_EQ(document.palettes.flaggedCount, 1);
  EXPECT_EQ(document.palettes.selectedFlaggedCount, 1);
  EXPECT_EQ(document.palettes.currentIndex, -1);
}

// --- GetExceptionText ------------------------------------------------------

TEST_F(DocumentTest, GetExceptionTextGivesTheMessage) {
  EXPECT_EQ(GetExceptionText(CFileException::EndOfFile()), CFileException::EndOfFile().Message());
  EXPECT_EQ(GetExceptionText(CMemoryException()), CMemoryException().Message());
  EXPECT_EQ(GetExceptionText(CException("")), "");
}

TEST_F(DocumentTest, GetExceptionTextKeepsAtMost1023Characters) {
  EXPECT_EQ(GetExceptionText(CException(std::string(1023, 'a'))), std::string(1023, 'a'));
  EXPECT_EQ(GetExceptionText(CException(std::string(1024, 'b'))), std::string(1023, 'b'));
  EXPECT_EQ(GetExceptionText(CException(std::string(5000, 'c'))), std::string(1023, 'c'));
}

// --- Load -------------------------------------------------------------------

bool LoadBytes(CImageDocument& document, const Bytes& bytes, std::uint64_t* endPosition = nullptr) {
  CMemFile file(bytes.data(), bytes.size());
  const bool loaded = document.Load(file);
  if (endPosition != nullptr) *endPosition = file.GetPosition();
  return loaded;
}

Bytes SimpleBody() {
  DocumentDesc desc;
  desc.colorCount = 16;
  desc.palettes.push_back({"pal", Bytes(48, 7), {}});
  desc.pages.push_back(SmallPage("page", 3));
  return test::DocumentBody(desc).bytes();
}

void ExpectSimpleDocument(const CImageDocument& document) {
  EXPECT_EQ(document.depth, 8);
  ASSERT_NE(document.palettes.GetCurrent(), nullptr);
  EXPECT_EQ(static_cast<const CColorPalette*>(document.palettes.GetCurrent())->colors[0], 7);
  ASSERT_NE(document.pages.GetCurrent(), nullptr);
  EXPECT_EQ(static_cast<const CPage*>(document.pages.GetCurrent())->width, 3);
}

TEST_F(DocumentTest, LoadAWholeFile) {
  CImageDocument document;
  document.errorText = "kept";
  ASSERT_TRUE(LoadBytes(document, MakeContainer(SimpleBody())));
  ExpectSimpleDocument(document);
  EXPECT_EQ(document.errorText, "kept");  // written only on failure
  EXPECT_EQ(document.valid, 0);           // only Create sets it
}

TEST_F(DocumentTest, LoadStartsAtTheFilesPosition) {
  Bytes bytes{'j', 'u', 'n', 'k'};
  const Bytes container = MakeContainer(SimpleBody());
  bytes.insert(bytes.end(), container.begin(), container.end());
  CMemFile file(bytes.data(), bytes.size());
  file.Seek(4);
  CImageDocument document;
  ASSERT_TRUE(document.Load(file));
  ExpectSimpleDocument(document);
}

TEST_F(DocumentTest, LoadAnEmptyBody) {
  CImageDocument document;
  ASSERT_TRUE(LoadBytes(document, MakeContainer({})));
  EXPECT_EQ(document.pages.GetCount(), 0);
  EXPECT_EQ(document.depth, 0);
}

TEST_F(DocumentTest, LoadOfARecordPastTheEndOfTheBody) {
  RecordWriter body;
  body.Byte(1000, 8).Header(3003, 500).Raw(RecordWriter().Text(1000, "cut").bytes());
  CImageDocument document;
  EXPECT_FALSE(LoadBytes(document, MakeContainer(body.bytes())));
  EXPECT_EQ(document.errorText, CFileException::EndOfFile().Message());
  // Nothing is rolled back.
  EXPECT_EQ(document.depth, 8);
  EXPECT_EQ(document.palettes.GetCount(), 1);
}

TEST_F(DocumentTest, LoadOfARecordHeaderCutByTheEndOfTheBody) {
  RecordWriter body;
  body.Byte(1000, 8).Raw({0xE8, 0x03, 0x01});
  CImageDocument document;
  EXPECT_FALSE(LoadBytes(document, MakeContainer(body.bytes())));
  EXPECT_EQ(document.errorText, CFileException::EndOfFile().Message());
}

TEST_F(DocumentTest, LoadOfABodyTooLargeToAllocate) {
  // Enough input behind the header that the declared size is one that
  // deflate could reach, so it is the allocation that refuses it.
  ContainerOptions options;
  options.declaredSize = static_cast<std::int64_t>(kMaxBufferBytes) + 1;
  Bytes bytes = MakeContainer(SimpleBody(), options);
  bytes.resize(bytes.size() + 1024 * 1024, 0);
  CImageDocument document;
  EXPECT_FALSE(LoadBytes(document, bytes));
  EXPECT_EQ(document.errorText, CMemoryException().Message());
}

TEST_F(DocumentTest, LoadOfTheLargestDeclaredSizeFails) {
  ContainerOptions options;
  options.declaredSize = 0xFFFFFFFF;
  CImageDocument document;
  EXPECT_FALSE(LoadBytes(document, MakeContainer(SimpleBody(), options)));
  // Refused before or by the allocation, depending on the container check.
  EXPECT_TRUE(document.errorText == CMemoryException().Message() ||
              document.errorText == kInflateFailed)
      << document.errorText;
  EXPECT_EQ(document.pages.GetCount(), 0);
}

TEST_F(DocumentTest, LoadReportsAMemoryFailureInsideARecord) {
  // Allocation 1 is the body, 2 the palette's first array.
  CImageDocument document;
  FailAllocationAt(2);
  EXPECT_FALSE(LoadBytes(document, MakeContainer(SimpleBody())));
  EXPECT_EQ(document.errorText, CMemoryException().Message());
}

TEST_F(DocumentTest, LoadOfABodyLargerThanOneInputChunk) {
  // A body whose compressed form spans several 10,240-byte chunks.
  DocumentDesc desc;
  desc.colorCount = 256;
  Bytes noise(256 * 3);
  std::uint32_t seed = 12345;
  for (auto& b : noise) {
    seed = seed * 1103515245 + 12345;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  desc.palettes.push_back({"pal", noise, {}});
  PageDesc page = SmallPage("big", 200);
  for (auto& b : page.layers[0].pixels) {
    seed = seed * 1103515245 + 12345;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  desc.pages.push_back(page);
  const Bytes bytes = test::WriteDocumentFile(desc);
  ASSERT_GT(bytes.size(), 3u * 10240);
  CImageDocument document;
  ASSERT_TRUE(LoadBytes(document, bytes));
  const auto* loaded = static_cast<const CPage*>(document.pages.GetCurrent());
  ASSERT_NE(loaded, nullptr);
  const auto* layer = static_cast<const CLayer*>(loaded->layers.GetAt(0));
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(Bytes(layer->pixels.get(), layer->pixels.get() + 200 * 200), page.layers[0].pixels);
}

}  // namespace
}  // namespace pelo
