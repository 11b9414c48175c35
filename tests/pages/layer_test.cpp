#include "pages/layer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "io/body_file.h"
#include "items/item_list.h"
#include "pages/page.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/document_writer.h"
#include "support/fresh_state_test.h"

namespace pelo {
namespace {

using test::Bytes;
using test::LayerDesc;
using test::RecordWriter;

void LoadLayer(CLayer& layer, const RecordWriter& body, int width, int height, int depth) {
  const Bytes& bytes = body.bytes();
  CMemFile file(bytes.data(), bytes.size());
  CBinaryReader reader(&file);
  layer.Load(reader, static_cast<std::uint32_t>(bytes.size()), width, height, depth);
}

// The bytes a layer stands for, held or uniform.
Bytes Held(const CLayer& layer) {
  if (layer.uniform) return Bytes(layer.pixelsSize, layer.fillValue);
  return Bytes(layer.pixels.get(), layer.pixels.get() + layer.pixelsSize);
}

// Loading a layer changes process-wide defaults; every test starts from and
// leaves the defaults of a fresh process.
using LayerTest = test::FreshStateTest;

TEST_F(LayerTest, CreateSizesTheBufferByDepthAndNamesTheLayer) {
  struct Case {
    int width, height, depth, number;
    std::size_t size;
    const char* name;
  };
  const Case cases[] = {
      {16, 16, 8, 3, 256, "Layer003"}, {16, 16, 24, 12, 768, "Layer012"},
      {2, 2, 8, 1000, 4, "Layer1000"}, {4, 1, 1, -5, 4, "Layer-05"},
      {3, 1, 4, 0, 3, "Layer000"},     {3, 1, 16, 0, 6, "Layer000"},
      {3, 1, 15, 0, 6, "Layer000"},    {2, 1, 32, 7, 8, "Layer007"},
      {0, 5, 8, 1, 0, "Layer001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CLayer layer;
    ASSERT_TRUE(layer.Create(c.width, c.height, c.depth, c.number));
    EXPECT_EQ(layer.pixelsSize, c.size);
    EXPECT_EQ(Held(layer), Bytes(c.size, 0));
    EXPECT_EQ(layer.name, c.name);
    EXPECT_EQ(layer.GetNumber(), c.number);
  }
}

TEST_F(LayerTest, CreateRefusesWhatItCannotHold) {
  struct Case {
    const char* what;
    int width, height, depth;
  };
  const Case cases[] = {
      {"depth 2", 4, 4, 2},
      {"depth 12", 4, 4, 12},
      {"negative width", -4, 4, 8},
      {"largest page at 24 bits", 65535, 65535, 24},
      {"size overflowing 32 bits", 0x7FFFFFFF, 0x7FFFFFFF, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLayer layer;
    EXPECT_FALSE(layer.Create(c.width, c.height, c.depth, 1));
    EXPECT_FALSE(layer.pixels);
    EXPECT_FALSE(layer.uniform);
    EXPECT_EQ(layer.pixelsSize, 0u);
    EXPECT_EQ(layer.name, "");
    EXPECT_EQ(layer.width, c.width);
  }
}

// A blank or filled layer costs no buffer until one is asked for, which then
// holds its value; memory refused for it leaves the layer as it was.
TEST_F(LayerTest, AUniformLayerGetsItsBufferOnlyWhenAsked) {
  CLayer layer;
  ASSERT_TRUE(layer.Create(3, 2, 24, 1));
  EXPECT_TRUE(layer.uniform);
  EXPECT_FALSE(layer.pixels);
  layer.Fill(7);
  FailAllocationAt(1);
  EXPECT_THROW(layer.MaterializePixels(), CMemoryException);
  FailAllocationAt(0);
  EXPECT_TRUE(layer.uniform);
  EXPECT_FALSE(layer.pixels);
  layer.MaterializePixels();
  EXPECT_FALSE(layer.uniform);
  ASSERT_TRUE(layer.pixels);
  EXPECT_EQ(Held(layer), Bytes(18, 7));
}

TEST_F(LayerTest, SecondCreateKeepsTheFirstBufferAndItsSize) {
  CLayer layer;
  ASSERT_TRUE(layer.Create(4, 4, 8, 1));
  const std::uint8_t* first = layer.pixels.get();
  EXPECT_FALSE(layer.Create(64, 64, 24, 2));
  EXPECT_EQ(layer.pixels.get(), first);
  EXPECT_EQ(layer.pixelsSize, 16u);
  EXPECT_EQ(layer.width, 4);
  EXPECT_EQ(layer.bytesPerPixel, 1);
  EXPECT_EQ(layer.name, "Layer001");
}

TEST_F(LayerTest, SetNameNeverSplitsADoubleByteCharacter) {
  // "\x82\xa0" is HIRAGANA LETTER A (あ) in code page 932.
  const std::string a = "\x82\xa0";
  struct Case {
    const char* what;
    std::string text;
    std::string kept;
  };
  const Case cases[] = {
      {"80 bytes", std::string(80, 'n'), std::string(80, 'n')},
      {"300 single bytes", std::string(300, 'n'), std::string(256, 'n')},
      {"double byte at 256 and 257", std::string(255, 'n') + a + "n", std::string(255, 'n')},
      {"double byte ending at 256", std::string(254, 'n') + a + "n", std::string(254, 'n') + a},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLayer layer;
    layer.SetName(c.text);
    EXPECT_EQ(layer.name, c.kept);
  }
}

TEST_F(LayerTest, LoadTakesEveryRecordAndUpdatesTheOwningList) {
  CItemList list;
  auto* layer = static_cast<CLayer*>(list.Append(std::make_unique<CLayer>()));
  RecordWriter body;
  body.Text(1000, "Ink")
      .Dword(1001, 42)
      .Byte(1004, 1)
      .Byte(1002, 1)
      .Byte(1003, 0)
      .Byte(1005, 0)
      .Byte(1007, 9)
      .Dword(2000, 50)
      .Data(9999, {1, 2, 3});
  LoadLayer(*layer, body, 2, 2, 8);

  EXPECT_EQ(layer->name, "Ink");
  EXPECT_EQ(layer->GetNumber(), 42);
  EXPECT_EQ(layer->userFlag, 0);
  EXPECT_EQ(layer->visible, 0);
  EXPECT_EQ(layer->layerFlag, 9);
  EXPECT_EQ(layer->settings.amount, 50u);
  EXPECT_EQ(list.selectedCount, 1);
  EXPECT_EQ(list.flaggedCount, 1);
  EXPECT_EQ(list.selectedFlaggedCount, 1);
  // The amount of a layer is its own.
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
}

TEST_F(LayerTest, PixelRecordFillsTheBufferAndNeverPassesIt) {
  struct Case {
    const char* what;
    Bytes payload;  // no pixel record when empty
    Bytes held;
  };
  const Case cases[] = {
      {"exact", {1, 2, 3, 4}, {1, 2, 3, 4}},
      {"short", {1, 2}, {1, 2, 0, 0}},
      {"long", {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4}},
      {"absent", {}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LayerDesc desc;
    desc.pixels = c.payload;
    desc.extra.Byte(1007, 9);
    CLayer layer;
    LoadLayer(layer, test::LayerBody(desc), 2, 2, 8);
    EXPECT_EQ(Held(layer), c.held);
    // The record after the pixels is read from its own place.
    EXPECT_EQ(layer.layerFlag, 9);
  }
}

// The same records read from an inflated body, where a pixel record that
// covers the whole buffer is shared in place rather than copied: the layer
// ends with the same bytes either way, and keeps them after the body's
// other owners are gone.
TEST_F(LayerTest, PixelsReadFromABodyAreTheSameAsFromAnyFile) {
  struct Case {
    const char* what;
    RecordWriter body;
    bool shared;  // the buffer lies inside the body
  };
  const Case cases[] = {
      {"exact", RecordWriter().Data(1006, {1, 2, 3, 4}).Byte(1007, 9), true},
      {"long", RecordWriter().Data(1006, {1, 2, 3, 4, 5, 6, 7}).Byte(1007, 9), true},
      {"short", RecordWriter().Data(1006, {1, 2}).Byte(1007, 9), false},
      {"absent", RecordWriter().Byte(1007, 9), false},
      {"second record over the first",
       RecordWriter().Data(1006, {1, 2, 3, 4}).Data(1006, {7}).Byte(1007, 9), true},
      {"short then whole", RecordWriter().Data(1006, {5}).Data(1006, {1, 2, 3, 4}).Byte(1007, 9),
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLayer plain;
    LoadLayer(plain, c.body, 2, 2, 8);

    const Bytes& bytes = c.body.bytes();
    auto owned = std::make_shared<std::uint8_t[]>(bytes.size());
    std::memcpy(owned.get(), bytes.data(), bytes.size());
    const std::uint8_t* start = owned.get();
    CLayer layer;
    {
      CBodyFile file(std::move(owned), bytes.size());
      CBinaryReader reader(&file);
      layer.Load(reader, static_cast<std::uint32_t>(bytes.size()), 2, 2, 8);
    }
    EXPECT_EQ(Held(layer), Held(plain));
    EXPECT_EQ(layer.layerFlag, 9);
    const bool inside = layer.pixels.get() >= start && layer.pixels.get() < start + bytes.size();
    EXPECT_EQ(inside, c.shared);
  }
}

TEST_F(LayerTest, APixelRecordRunningPastTheBodyIsNotShared) {
  const RecordWriter body = RecordWriter().Header(1006, 4).Raw({1, 2});
  const Bytes& bytes = body.bytes();
  auto owned = std::make_shared<std::uint8_t[]>(bytes.size());
  std::memcpy(owned.get(), bytes.data(), bytes.size());
  CBodyFile file(owned, bytes.size());
  CBinaryReader reader(&file);
  CLayer layer;
  EXPECT_THROW(layer.Load(reader, static_cast<std::uint32_t>(bytes.size()), 2, 2, 8),
               CFileException);
  // As from any file: the bytes that arrived, zeros after them.
  EXPECT_EQ(Held(layer), (Bytes{1, 2, 0, 0}));
}

TEST_F(LayerTest, LoadRaisesForABufferTooLargeOrDataEndingEarly) {
  CLayer huge;
  EXPECT_THROW(LoadLayer(huge, RecordWriter(), 65535, 65535, 24), CMemoryException);
  EXPECT_FALSE(huge.pixels);
  EXPECT_EQ(huge.pixelsSize, 0u);

  CLayer truncated;
  EXPECT_THROW(LoadLayer(truncated, RecordWriter().Header(1006, 4).Raw({1, 2}), 2, 2, 8),
               CFileException);
}

TEST_F(LayerTest, SelectionUsesTheLayersPixelFormatAndSize) {
  struct Case {
    int depth;
    Bytes inside;
    Bytes outside;
  };
  // Cell 0 lies on the 2-pixel-wide layer, cell 1 past its right edge; 32-bit
  // layers keep no selected pixels.
  const Case cases[] = {
      {24, {1, 2, 3, 0, 0, 0}, {0, 0, 0, 4, 5, 6}},
      {32, Bytes(8, 0), Bytes(8, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    LayerDesc desc;
    desc.selection = test::SelectionDesc{1, 0, 3, 1, {1, 1}, {1, 2, 3, 4, 5, 6, 7, 8}};
    CLayer layer;
    LoadLayer(layer, test::LayerBody(desc), 2, 1, c.depth);
    const CLayerSelection& s = layer.selection;
    ASSERT_TRUE(s.mask);
    EXPECT_EQ(Bytes(s.insidePixels.get(), s.insidePixels.get() + s.PixelBytes()), c.inside);
    EXPECT_EQ(Bytes(s.outsidePixels.get(), s.outsidePixels.get() + s.PixelBytes()), c.outside);
  }
}

TEST_F(LayerTest, CloneIsAnIndependentDeepCopy) {
  CItemList list;
  auto* source = static_cast<CLayer*>(list.Append(std::make_unique<CLayer>()));
  LayerDesc desc;
  desc.name = "Ink";
  desc.visible = 0;
  desc.pixels = {1, 2, 3, 4};
  desc.selection = test::SelectionDesc{0, 0, 1, 1, {1}, {7}};
  desc.extra.Dword(1001, 42).Byte(1002, 1).Byte(1004, 1).Byte(1007, 9).Dword(2000, 50);
  LoadLayer(*source, test::LayerBody(desc), 2, 2, 8);
  const int selectedCount = list.selectedCount;

  std::unique_ptr<CListItem> item = source->Clone();
  ASSERT_NE(item, nullptr);
  auto& copy = static_cast<CLayer&>(*item);
  copy.pixels[0] = 99;
  copy.selection.insidePixels[0] = 99;

  EXPECT_EQ(Held(*source), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(source->selection.insidePixels[0], 7);
  EXPECT_EQ(Held(copy), (Bytes{99, 2, 3, 4}));
  EXPECT_EQ(copy.name, "Ink");
  EXPECT_EQ(copy.visible, 0);
  EXPECT_EQ(copy.GetNumber(), 42);
  EXPECT_EQ(copy.flagged, 1);
  EXPECT_EQ(copy.selected, 1);
  EXPECT_EQ(copy.layerFlag, 9);
  EXPECT_EQ(copy.settings.amount, 50u);
  EXPECT_EQ(copy.width, 2);
  EXPECT_EQ(copy.depth, 8);
  EXPECT_EQ(list.selectedCount, selectedCount);

  ASSERT_TRUE(source->CopyFrom(*source));
  EXPECT_EQ(Held(*source), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(source->selection.insidePixels[0], 7);
}

// A uniform layer, one with a selection among them, copies as a uniform
// layer with its selection; a layer short of its size copies at its full
// size, zeros after what it held.
TEST_F(LayerTest, CopiesOfUniformAndShortLayersStandForTheSameBytes) {
  LayerDesc desc;
  desc.selection = test::SelectionDesc{0, 0, 1, 1, {1}, {7}};
  CLayer blank;
  LoadLayer(blank, test::LayerBody(desc), 2, 2, 8);
  ASSERT_TRUE(blank.uniform);
  CLayer filled;
  ASSERT_TRUE(filled.Create(2, 2, 8, 0));
  filled.Fill(5);
  CLayer shortFilled;
  ASSERT_TRUE(shortFilled.Create(2, 2, 8, 0));
  shortFilled.Fill(5);
  shortFilled.pixelsSize = 2;
  struct Case {
    const char* what;
    const CLayer& source;
    Bytes held;
    bool uniform;
  };
  const Case cases[] = {
      {"blank with a selection", blank, Bytes(4, 0), true},
      {"filled", filled, Bytes(4, 5), true},
      {"filled, short", shortFilled, Bytes{5, 5, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<CListItem> item = c.source.Clone();
    ASSERT_NE(item, nullptr);
    const auto& copy = static_cast<const CLayer&>(*item);
    EXPECT_EQ(copy.uniform, c.uniform);
    EXPECT_EQ(Held(copy), c.held);
    EXPECT_EQ(copy.selection.cells, c.source.selection.cells);
  }
  EXPECT_EQ(static_cast<const CLayer&>(*blank.Clone()).selection.insidePixels[0], 7);
}

TEST_F(LayerTest, CopyOfALayerWithoutAPixelFormatFails) {
  CLayer source;
  LoadLayer(source, RecordWriter(), 2, 2, 12);
  CLayer copy;
  ASSERT_TRUE(copy.Create(2, 2, 8, 0));
  EXPECT_FALSE(copy.CopyFrom(source));
  EXPECT_FALSE(copy.pixels);
  EXPECT_EQ(copy.pixelsSize, 0u);
  EXPECT_EQ(source.Clone(), nullptr);
}

}  // namespace
}  // namespace pelo
