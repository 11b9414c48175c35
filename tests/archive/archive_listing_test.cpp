#include "archive/archive_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/entry_file.h"
#include "platform/local_memory.h"
#include "platform/mem_file.h"
#include "plugin/bitmap_builder.h"
#include "readers/picture_loader.h"
#include "support/document_writer.h"
#include "support/taken_block.h"

namespace pelo {
namespace {

using test::Bytes;

void Load(const Bytes& bytes, CImageDocument* document) {
  CMemFile file(bytes.data(), bytes.size());
  ASSERT_EQ(CPictureLoader(file).Load(document), kResultSuccess);
}

// Two pages at 8 bits with two palettes; the second page's top layer is
// hidden and its name holds characters no file name can.
test::DocumentDesc TwoPagesTwoPalettes() {
  test::DocumentDesc d;
  d.colorCount = 4;
  d.palettes = {{"Day", {0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, {}},
                {"Night", {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}};
  d.currentPalette = 1;
  test::PageDesc first{"Walk", 3, 2, {}, 0, {}};
  first.layers.push_back({"Body", 1, {1, 1, 0, 0, 2, 2}, {}, {}});
  test::PageDesc second{"Fight.", 3, 2, {}, 0, {}};
  second.layers.push_back({"Sword: a/b", 0, {3, 0, 0, 0, 0, 3}, {}, {}});
  second.layers.push_back({"", 1, {2, 2, 2, 1, 1, 1}, {}, {}});
  d.pages = {first, second};
  return d;
}

Bytes EntryBytes(const CImageDocument& document, const ArchiveEntry& entry) {
  LocalHandle block = nullptr;
  EXPECT_EQ(BuildEntryFile(document, entry.choice, &block), kResultSuccess);
  Bytes bytes = test::TakeBlock(block);
  EXPECT_EQ(bytes.size(), entry.fileBytes);
  return bytes;
}

// The import plug-in's picture as one BMP file would carry it.
Bytes PictureAsFileTail(const CImageDocument& document, const PictureChoice& choice) {
  LocalHandle header = nullptr, pixels = nullptr;
  EXPECT_EQ(BuildPictureBitmap(document, choice, &header, &pixels), kResultSuccess);
  Bytes bytes = test::TakeBlock(header);
  const Bytes bits = test::TakeBlock(pixels);
  bytes.insert(bytes.end(), bits.begin(), bits.end());
  return bytes;
}

Bytes WithoutFileHeader(const Bytes& file) {
  return Bytes(file.begin() + static_cast<std::ptrdiff_t>(kBmpFileHeaderBytes), file.end());
}

TEST(ArchiveListing, NamesEveryPictureLayerAndPaletteOfEachPage) {
  CImageDocument document;
  Load(test::WriteDocumentFile(TwoPagesTwoPalettes()), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  const std::vector<std::string> expected = {
      "001 Walk\\picture.bmp",           "001 Walk\\all layers.bmp",
      "001 Walk\\layer 01 Body.bmp",     "001 Walk\\palette 01 Day.bmp",
      "001 Walk\\palette 02 Night.bmp",  "002 Fight\\picture.bmp",
      "002 Fight\\all layers.bmp",       "002 Fight\\layer 01 Sword_ a_b (hidden).bmp",
      "002 Fight\\layer 02.bmp",         "002 Fight\\palette 01 Day.bmp",
      "002 Fight\\palette 02 Night.bmp",
  };
  std::vector<std::string> names;
  for (const ArchiveEntry& e : entries) names.push_back(ArchiveEntryPath(e));
  EXPECT_EQ(names, expected);
}

TEST(ArchiveListing, EachEntryIsTheBuildersPictureBehindAFileHeader) {
  CImageDocument document;
  Load(test::WriteDocumentFile(TwoPagesTwoPalettes()), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  for (const ArchiveEntry& entry : entries) {
    SCOPED_TRACE(ArchiveEntryPath(entry));
    const Bytes file = EntryBytes(document, entry);
    ASSERT_GE(file.size(), kBmpFileHeaderBytes + 40);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    const auto le32 = [&](std::size_t at) {
      return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24;
    };
    EXPECT_EQ(static_cast<std::size_t>(le32(2)), file.size());
    EXPECT_EQ(le32(10), 14 + 40 + 1024);
    EXPECT_EQ(WithoutFileHeader(file), PictureAsFileTail(document, entry.choice));
  }
}

// The picture entry of a page is what the import plug-in shows for it; the
// current page and palette are those of the second page and palette.
TEST(ArchiveListing, PictureEntryOfTheCurrentPageIsTheImportPicture) {
  test::DocumentDesc d = TwoPagesTwoPalettes();
  d.currentPage = 1;
  CImageDocument document;
  Load(test::WriteDocumentFile(d), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  const int index = FindArchiveEntry(entries, "002 Fight\\picture.bmp", false);
  ASSERT_GE(index, 0);
  EXPECT_EQ(WithoutFileHeader(EntryBytes(document, entries[static_cast<std::size_t>(index)])),
            PictureAsFileTail(document, PictureChoice()));
}

// A layer entry equals the picture of a document that holds that layer
// alone, visible, whatever the layers above and below it.
TEST(ArchiveListing, LayerEntryEqualsADocumentOfThatLayerAlone) {
  const test::DocumentDesc d = TwoPagesTwoPalettes();
  CImageDocument document;
  Load(test::WriteDocumentFile(d), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  for (std::size_t page = 0; page < d.pages.size(); ++page) {
    for (std::size_t layer = 0; layer < d.pages[page].layers.size(); ++layer) {
      test::DocumentDesc alone = d;
      alone.pages = {d.pages[page]};
      alone.pages[0].layers = {d.pages[page].layers[layer]};
      alone.pages[0].layers[0].visible = 1;
      CImageDocument single;
      Load(test::WriteDocumentFile(alone), &single);
      const auto found = std::find_if(entries.begin(), entries.end(), [&](const ArchiveEntry& e) {
        return e.choice.page == static_cast<int>(page) && e.choice.layers == LayerSet::kOne &&
               e.choice.layer == static_cast<int>(layer);
      });
      ASSERT_NE(found, entries.end());
      EXPECT_EQ(WithoutFileHeader(EntryBytes(document, *found)),
                PictureAsFileTail(single, PictureChoice()))
          << ArchiveEntryPath(*found);
    }
  }
}

TEST(ArchiveListing, TrueColourPagesHaveNoPaletteEntries) {
  test::DocumentDesc d;
  d.depth = 24;
  d.colorCount = 4;
  d.palettes = {{"a", Bytes(12, 0), {}}, {"b", Bytes(12, 1), {}}};
  test::PageDesc page{"p", 2, 1, {}, 0, {}};
  page.layers.push_back({"l", 1, {1, 2, 3, 4, 5, 6}, {}, {}});
  d.pages = {page};
  CImageDocument document;
  Load(test::WriteDocumentFile(d), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(ArchiveEntryPath(entries[2]), "001 p\\layer 01 l.bmp");
  EXPECT_EQ(entries[2].fileBytes, 14u + 40 + 8);
}

TEST(ArchiveListing, LegacyFileListsItsPictureAllLayersAndLayers) {
  test::LegacyFileDesc f;
  f.width = 5;
  f.height = 4;
  f.paletteRgb = {0, 0, 0, 0x30, 0x20, 0x10};
  f.layers.push_back(test::EncodeLegacyLayer("top", 0, Bytes(20, 1)));
  f.layers.push_back(test::EncodeLegacyLayer("bottom", 1, Bytes(20, 0)));
  CImageDocument document;
  Load(test::WriteLegacyFile(f), &document);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListArchiveEntries(document, &entries), kResultSuccess);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].fileName, "picture.bmp");
  EXPECT_EQ(entries[1].fileName, "all layers.bmp");
  EXPECT_EQ(entries[2].fileName, "layer 01 top (hidden).bmp");
  EXPECT_EQ(entries[3].fileName, "layer 02 bottom.bmp");
}

// A page of layers that no pixel record fills: a file of a few hundred bytes
// whose every entry is a full picture.
Bytes BlankLayersPage(std::uint16_t side, int layers) {
  test::DocumentDesc d;
  d.depth = 24;
  d.colorCount = 2;
  d.palettes = {{"p", {0, 0, 0, 255, 255, 255}, {}}};
  test::PageDesc page{"p", side, side, {}, 0, {}};
  for (int i = 0; i < layers; ++i) page.extra.Header(2003, 0);
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

TEST(ArchiveListing, EntriesOfOneListTogetherStayWithinTheListLimit) {
  // At 24 bits each entry of an 8,192 x 8,192 page is a 192 MiB file: the
  // picture, all layers and 19 layers fit 4 GiB, a 20th layer passes it.
  const struct {
    std::uint16_t side;
    int layers;
    PluginResult result;
  } cases[] = {
      {8192, 19, kResultSuccess},
      {8192, 20, kResultNoMemory},
      {4096, 83, kResultSuccess},
      {4096, 100000, kResultNoMemory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.side << " x " << c.side << ", " << c.layers << " layers");
    CImageDocument document;
    Load(BlankLayersPage(c.side, c.layers), &document);
    std::vector<ArchiveEntry> entries;
    EXPECT_EQ(ListArchiveEntries(document, &entries), c.result);
    EXPECT_EQ(entries.empty(), c.result != kResultSuccess);
  }
}

TEST(ArchiveListing, DocumentWithoutPagesListsNothing) {
  CImageDocument document;
  std::vector<ArchiveEntry> entries(1);
  EXPECT_EQ(ListArchiveEntries(document, &entries), kResultUnknownFormat);
  EXPECT_TRUE(entries.empty());
}

TEST(FileNamePart, KeepsWhatAFileNameCanHold) {
  const struct {
    std::string name;
    std::string part;
  } cases[] = {
      {"Sword", "Sword"},
      {"a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"tab\there\x7f", "tab_here_"},
      {"dots... ", "dots"},
      {"...", ""},
      // Code page 932 characters whose trail byte is a backslash or a bar.
      {"\x95\x5c\x8e\x7c", "\x95\x5c\x8e\x7c"},
      // A lead byte cut off at the end, or before a byte that cannot trail.
      {"ab\x95", "ab_"},
      {"\x95\x0a", "__"},
      {std::string(120, 'x'), std::string(kMaxNamePartBytes, 'x')},
      {std::string(99, 'x') + "\x95\x5c", std::string(99, 'x')},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNamePart(c.name), c.part) << c.name;
}

TEST(FindArchiveEntry, FoldsAsciiLettersOnlyWhenAsked) {
  std::vector<ArchiveEntry> entries(2);
  entries[0].folder = "001 Walk";
  entries[0].fileName = "picture.bmp";
  entries[1].folder = "002 \x83\x41";  // a trail byte that is 'A'
  entries[1].fileName = "picture.bmp";
  EXPECT_EQ(FindArchiveEntry(entries, "001 Walk\\picture.bmp", false), 0);
  EXPECT_EQ(FindArchiveEntry(entries, "001 WALK\\Picture.BMP", false), -1);
  EXPECT_EQ(FindArchiveEntry(entries, "001 WALK\\Picture.BMP", true), 0);
  EXPECT_EQ(FindArchiveEntry(entries, "002 \x83\x41\\PICTURE.bmp", true), 1);
  EXPECT_EQ(FindArchiveEntry(entries, "002 \x83\x61\\picture.bmp", true), -1);
  EXPECT_EQ(FindArchiveEntry(entries, "001 Walk", true), -1);
}

}  // namespace
}  // namespace pelo
