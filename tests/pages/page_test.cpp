#include "pages/page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pages/layer.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/document_writer.h"
#include "support/fresh_state_test.h"

namespace pelo {
namespace {

using test::Bytes;
using test::LayerDesc;
using test::PageDesc;
using test::RecordWriter;

void LoadPage(CPage& page, const RecordWriter& body, int depth = 8) {
  const Bytes& bytes = body.bytes();
  CMemFile file(bytes.data(), bytes.size());
  CBinaryReader reader(&file);
  page.Load(reader, static_cast<std::uint32_t>(bytes.size()), depth);
}

LayerDesc Layer(std::string name, Bytes pixels = {}) {
  LayerDesc layer;
  layer.name = std::move(name);
  layer.pixels = std::move(pixels);
  return layer;
}

const CLayer& LayerAt(const CPage& page, int index) {
  return static_cast<const CLayer&>(*page.layers.GetAt(index));
}

using PageTest = test::FreshStateTest;

TEST_F(PageTest, CreateMakesOneCurrentLayerAndNamesThePage) {
  struct Case {
    int number;
    const char* name;
  };
  const Case cases[] = {{0, "000Page"}, {7, "007Page"}, {1234, "1234Page"}, {-3, "-03Page"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPage page;
    ASSERT_TRUE(page.Create(320, 240, 8, c.number));
    EXPECT_EQ(page.name, c.name);
    EXPECT_EQ(page.GetNumber(), c.number);
    EXPECT_EQ(page.isReady, 1);
    EXPECT_EQ(page.nextLayerNumber, 1);
    ASSERT_EQ(page.layers.GetCount(), 1);
    EXPECT_EQ(page.layers.GetCurrent(), page.layers.GetAt(0));
    EXPECT_EQ(LayerAt(page, 0).name, "Layer000");
    EXPECT_EQ(LayerAt(page, 0).pixelsSize, 320u * 240u);
  }
}

TEST_F(PageTest, CreateFailsWhenTheFirstLayerCannotBeMade) {
  struct Case {
    const char* what;
    int width, height, depth;
  };
  const Case cases[] = {{"depth 12", 4, 4, 12}, {"largest page at 24 bits", 65535, 65535, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CPage page;
    EXPECT_FALSE(page.Create(c.width, c.height, c.depth, 1));
    EXPECT_EQ(page.isReady, 0);
    EXPECT_EQ(page.name, "");
    EXPECT_EQ(page.layers.GetCount(), 0);
    EXPECT_EQ(page.nextLayerNumber, 0);
  }
}

TEST_F(PageTest, AddLayerNeedsAReadyPageAndAPlaceInTheList) {
  CPage page;
  EXPECT_FALSE(page.AddLayer(0, true));
  ASSERT_TRUE(page.Create(2, 2, 8, 0));
  for (int position : {-1, 2}) {
    SCOPED_TRACE(position);
    EXPECT_FALSE(page.AddLayer(position, true));
    EXPECT_EQ(page.layers.GetCount(), 1);
  }
  // Without advancing, the next layer takes the same number again.
  ASSERT_TRUE(page.AddLayer(0, false));
  EXPECT_EQ(LayerAt(page, 0).name, "Layer001");
  EXPECT_EQ(page.nextLayerNumber, 1);
  EXPECT_EQ(page.layers.GetCurrent(), page.layers.GetAt(1));
}

TEST_F(PageTest, LoadedPageGrowsAtTheEndFromItsNextLayerNumber) {
  PageDesc desc;
  desc.width = 2;
  desc.height = 1;
  for (const char* name : {"a", "b", "c", "d", "e"}) desc.layers.push_back(Layer(name));
  desc.currentLayer = 2;
  desc.extra.Dword(2001, 10);
  CPage page;
  LoadPage(page, test::PageBody(desc));
  ASSERT_EQ(page.layers.GetCount(), 5);

  ASSERT_TRUE(page.AddLayer(page.layers.GetCount(), true));
  ASSERT_EQ(page.layers.GetCount(), 6);
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i) names.push_back(LayerAt(page, i).name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "e", "Layer010"}));
  EXPECT_EQ(page.nextLayerNumber, 11);
  EXPECT_EQ(page.layers.currentIndex, 2);
}

TEST_F(PageTest, LoadTakesEveryRecord) {
  CItemList pages;
  auto* page = static_cast<CPage*>(pages.Append(std::make_unique<CPage>()));
  Bytes valueRecord{1, 0, 0, 0, 7};
  RecordWriter body;
  body.Text(1000, "Cover")
      .Dword(1001, 3)
      .Byte(1004, 1)
      .Byte(1002, 1)
      .Byte(1003, 0)
      .Word(1005, 0xFFFF)
      .Word(1006, 0x8000)
      .Dword(1007, 0xFFFFFFFE)
      .Dword(1008, 5)
      .Byte(2000, 4)
      .Word(2002, 0x1234)
      .Dword(3000, 60)
      .Byte(3001, 8)
      .Byte(3002, 9)
      .Data(3003, valueRecord)
      .Data(3004, {2, 1, 0, 0, 3})
      .Data(9999, {1, 2, 3});
  LoadPage(*page, body, 24);

  EXPECT_EQ(page->name, "Cover");
  EXPECT_EQ(page->GetNumber(), 3);
  EXPECT_EQ(page->userFlag, 0);
  EXPECT_EQ(page->width, 65535);
  EXPECT_EQ(page->height, 32768);
  EXPECT_EQ(page->indexPair.first, -2);
  EXPECT_EQ(page->indexPair.second, 5);
  EXPECT_EQ(page->pageFlag, 4);
  EXPECT_EQ(page->nextLayerNumber, 0);
  EXPECT_EQ(page->depth, 24);
  EXPECT_EQ(page->isReady, 1);
  EXPECT_EQ(page->settings.amount, 60u);
  EXPECT_EQ(page->settings.option1, 8);
  EXPECT_EQ(page->settings.option2, 9);
  EXPECT_EQ(page->settings.firstRecord.value, 1u);
  EXPECT_EQ(page->settings.firstRecord.flag, 7);
  EXPECT_EQ(page->settings.secondRecord.value, 0x102u);
  EXPECT_EQ(page->settings.secondRecord.flag, 3);
  EXPECT_EQ(pages.selectedCount, 1);
  EXPECT_EQ(pages.flaggedCount, 1);
  EXPECT_EQ(pages.selectedFlaggedCount, 1);
  // A page's settings never become the defaults.
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
  EXPECT_EQ(CItemSettings::DefaultOption1(), 1);
  EXPECT_EQ(CItemSettings::DefaultOption2(), 2);
}

TEST_F(PageTest, CurrentLayerComesFromItsRecordAlone) {
  struct Case {
    std::optional<std::int32_t> record;
    std::int32_t index;
    int current;  // -1: none
  };
  const Case cases[] = {{1, 1, 1}, {7, 7, -1}, {std::nullopt, -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    PageDesc desc;
    desc.width = 1;
    desc.height = 1;
    desc.layers = {Layer("top"), Layer("bottom")};
    desc.currentLayer = c.record;
    CPage page;
    LoadPage(page, test::PageBody(desc));
    EXPECT_EQ(page.layers.currentIndex, c.index);
    EXPECT_EQ(page.layers.GetCurrent(), c.current < 0 ? nullptr : page.layers.GetAt(c.current));
  }
}

TEST_F(PageTest, LayersTakeThePageSizeKnownWhenTheyAreMet) {
  RecordWriter early;
  early.Text(1000, "early");
  LayerDesc late = Layer("late");
  late.extra.Byte(1004, 1);
  RecordWriter body;
  body.Nested(2003, early).Word(1005, 3).Word(1006, 2).Nested(2003, test::LayerBody(late));
  CPage page;
  LoadPage(page, body, 24);

  ASSERT_EQ(page.layers.GetCount(), 2);
  EXPECT_EQ(LayerAt(page, 0).pixelsSize, 0u);
  EXPECT_EQ(LayerAt(page, 1).pixelsSize, 3u * 2u * 3u);
  EXPECT_EQ(LayerAt(page, 1).owner, &page.layers);
  // The layer's own flag record counts in the page's list.
  EXPECT_EQ(page.layers.selectedCount, 1);
}

TEST_F(PageTest, ByteMapIsTakenOnlyAtItsAnnouncedSize) {
  struct Case {
    const char* what;
    RecordWriter body;
    std::optional<Bytes> map;  // none: the page has no map
    std::int32_t columns, rows;
  };
  const Case cases[] = {
      {"size then data", RecordWriter().Dword(4000, 0x00020003).Data(4001, {1, 2, 3, 4, 5, 6}),
       Bytes{1, 2, 3, 4, 5, 6}, 3, 2},
      {"second size replaces the first",
       RecordWriter().Dword(4000, 0x00010001).Data(4001, {9}).Dword(4000, 0x00010002), Bytes{0, 0},
       2, 1},
      {"data of the wrong length",
       RecordWriter().Dword(4000, 0x00010002).Data(4001, {1, 2}).Data(4001, {7, 7, 7}), Bytes{1, 2},
       2, 1},
      {"data without a size", RecordWriter().Data(4001, {1, 2}), std::nullopt, 0, 0},
      {"empty map", RecordWriter().Dword(4000, 0).Data(4001, {}), Bytes{}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CPage page;
    LoadPage(page, c.body);
    EXPECT_EQ(page.byteMapWidth, c.columns);
    EXPECT_EQ(page.byteMapHeight, c.rows);
    if (!c.map) {
      EXPECT_FALSE(page.byteMap);
      continue;
    }
    ASSERT_TRUE(page.byteMap);
    EXPECT_EQ(Bytes(page.byteMap.get(), page.byteMap.get() + c.map->size()), *c.map);
  }
}

TEST_F(PageTest, LoadRaisesForBuffersPastTheLimit) {
  CPage map;
  EXPECT_THROW(LoadPage(map, RecordWriter().Dword(4000, 0xFFFFFFFF)), CMemoryException);

  PageDesc desc;
  desc.width = 65535;
  desc.height = 65535;
  desc.layers = {Layer("huge")};
  CPage page;
  EXPECT_THROW(LoadPage(page, test::PageBody(desc), 24), CMemoryException);
}

TEST_F(PageTest, CloneIsAnIndependentDeepCopy) {
  PageDesc desc;
  desc.name = "Cover";
  desc.width = 2;
  desc.height = 1;
  desc.layers = {Layer("top", {1, 2}), Layer("bottom", {3, 4})};
  desc.layers[1].extra.Byte(1004, 1);
  desc.currentLayer = 1;
  desc.extra.Dword(1001, 5)
      .Dword(2001, 2)
      .Dword(1007, 8)
      .Dword(4000, 0x00010002)
      .Data(4001, {5, 6});
  CPage source;
  LoadPage(source, test::PageBody(desc));

  std::unique_ptr<CListItem> item = source.Clone();
  ASSERT_NE(item, nullptr);
  auto& copy = static_cast<CPage&>(*item);
  ASSERT_EQ(copy.layers.GetCount(), 2);
  auto& copiedBottom = static_cast<CLayer&>(*copy.layers.GetAt(1));
  copiedBottom.pixels[0] = 99;
  copy.byteMap[0] = 99;

  EXPECT_EQ(LayerAt(source, 1).pixels[0], 3);
  EXPECT_EQ(source.byteMap[0], 5);
  EXPECT_EQ(copiedBottom.name, "bottom");
  EXPECT_EQ(copiedBottom.owner, &copy.layers);
  EXPECT_EQ(copy.layers.currentIndex, 1);
  EXPECT_EQ(copy.layers.selectedCount, source.layers.selectedCount);
  EXPECT_EQ(copy.name, "Cover");
  EXPECT_EQ(copy.GetNumber(), 5);
  EXPECT_EQ(copy.nextLayerNumber, 2);
  EXPECT_EQ(copy.indexPair.first, 8);
  EXPECT_EQ(copy.byteMap[1], 6);
  EXPECT_EQ(copy.isReady, 1);
  EXPECT_EQ(copy.depth, 8);

  ASSERT_TRUE(source.CopyFrom(source));
  EXPECT_EQ(source.layers.GetCount(), 2);
  EXPECT_EQ(source.byteMap[0], 5);
}

}  // namespace
}  // namespace pelo
