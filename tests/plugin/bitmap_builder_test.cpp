#include "plugin/bitmap_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/allocation.h"
#include "platform/local_memory.h"
#include "support/taken_block.h"

namespace pelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
  int result = -99;
  Bytes header;
  Bytes pixels;
};

Picture Build(const CImageDocument& document, const PictureChoice& choice = {}) {
  LocalHandle header = nullptr, pixels = nullptr;
  Picture p;
  p.result = BuildPictureBitmap(document, choice, &header, &pixels);
  if (p.result != 0) {
    EXPECT_EQ(header, nullptr);
    EXPECT_EQ(pixels, nullptr);
    return p;
  }
  p.header = test::TakeBlock(header);
  p.pixels = test::TakeBlock(pixels);
  return p;
}

// A created document (as the legacy reader makes one) with layers whose
// pixels the test sets; layer 0 is the top one.
class Document {
 public:
  Document(int width, int height, int depth, int layers) {
    EXPECT_TRUE(doc.Create(width, height, depth, 256, 0, true));
    for (int i = 1; i < layers; ++i) EXPECT_TRUE(Page().AddLayer(Page().layers.GetCount(), true));
  }
  CPage& Page() { return *static_cast<CPage*>(doc.pages.GetCurrent()); }
  CLayer& Layer(int i) { return *static_cast<CLayer*>(Page().layers.GetAt(i)); }
  CColorPalette& Palette() { return *static_cast<CColorPalette*>(doc.palettes.GetCurrent()); }
  void SetPixels(int i, const Bytes& pixels) {
    ASSERT_EQ(Layer(i).pixelsSize, pixels.size());
    Layer(i).MaterializePixels();
    std::memcpy(Layer(i).pixels.get(), pixels.data(), pixels.size());
  }
  CImageDocument doc;
};

TEST(BitmapBuilder, RowsArePaddedAndStoredBottomUp) {
  struct Case {
    int width, depth;
    std::size_t stride, header;
    int bits;
  };
  for (const Case c : {Case{3, 8, 4, 1064, 8}, Case{4, 8, 4, 1064, 8}, Case{3, 24, 12, 40, 24},
                       Case{3, 4, 4, 1064, 8}, Case{1, 24, 4, 40, 24}}) {
    SCOPED_TRACE(c.width * 100 + c.depth);
    Document d(c.width, 2, c.depth, 1);
    const Picture p = Build(d.doc);
    ASSERT_EQ(p.result, 0);
    ASSERT_EQ(p.header.size(), c.header);
    EXPECT_EQ(p.header[0], 40);
    EXPECT_EQ(p.header[4], c.width);
    EXPECT_EQ(p.header[8], 2);
    EXPECT_EQ(p.header[12], 1);
    EXPECT_EQ(p.header[14], c.bits);
    EXPECT_EQ(p.pixels.size(), c.stride * 2);
  }
}

TEST(BitmapBuilder, FirstLayerIsOnTopAndKeyPixelsShowThrough) {
  Document d(2, 2, 8, 2);
  d.doc.backgroundColor.index = 9;
  d.SetPixels(0, {9, 5, 9, 9});  // top layer
  d.SetPixels(1, {7, 7, 9, 7});
  const Picture p = Build(d.doc);
  ASSERT_EQ(p.result, 0);
  // Bottom picture row first; padding is filled with the background index.
  EXPECT_EQ(p.pixels, (Bytes{9, 7, 9, 9, 7, 5, 9, 9}));
}

TEST(BitmapBuilder, BankModeKeysOnTheLowNibble) {
  Document d(4, 1, 8, 1);
  d.doc.bankMode = 1;
  d.doc.backgroundColor.index = 5;
  d.SetPixels(0, {16, 5, 0, 33});
  const Picture p = Build(d.doc);
  ASSERT_EQ(p.result, 0);
  EXPECT_EQ(p.pixels, (Bytes{5, 5, 5, 33}));
}

TEST(BitmapBuilder, LayerBondZeroSkipsHiddenLayers) {
  Document d(1, 1, 8, 2);
  d.SetPixels(0, {3});
  d.SetPixels(1, {4});
  d.Layer(0).visible = 0;
  d.Layer(1).visible = 0;
  const Picture p = Build(d.doc, PictureChoice{-1, LayerSet::kVisible, -1, -1});
  EXPECT_EQ(p.pixels, (Bytes{0, 0, 0, 0}));
}

// Any page, any set of layers and any palette, as a host that lists a
// document's pages and layers asks for them.
TEST(BitmapBuilder, DrawsTheChosenPageLayersAndPalette) {
  Document d(1, 1, 8, 3);
  d.SetPixels(0, {3});
  d.SetPixels(1, {4});
  d.SetPixels(2, {5});
  d.Layer(0).visible = 0;  // hidden, on top
  ASSERT_TRUE(d.doc.AddPage(1, 1, 1, true));
  const CPage& second = *static_cast<const CPage*>(d.doc.pages.GetAt(1));
  ASSERT_EQ(second.layers.GetCount(), 1);
  static_cast<CLayer*>(second.layers.GetAt(0))->Fill(9);
  ASSERT_TRUE(d.doc.AddPalette(1, true));
  auto& night = *static_cast<CColorPalette*>(d.doc.palettes.GetAt(1));
  night.colors[3 * 4] = 0x44;
  d.Palette().colors[3 * 4] = 0x11;
  struct Case {
    PictureChoice choice;
    int result;
    std::uint8_t pixel;
    std::uint8_t blueOfFour;  // entry 4 of the colour table
  };
  for (const Case& c : {
           Case{{-1, LayerSet::kVisible, -1, -1}, 0, 4, 0x11},
           Case{{-1, LayerSet::kAll, -1, -1}, 0, 3, 0x11},
           Case{{0, LayerSet::kOne, 2, 1}, 0, 5, 0x44},
           Case{{-1, LayerSet::kOne, 0, 0}, 0, 3, 0x11},  // hidden, yet chosen
           Case{{1, LayerSet::kVisible, -1, 1}, 0, 9, 0x44},
           Case{{2, LayerSet::kVisible, -1, -1}, 8, 0, 0},
           Case{{0, LayerSet::kOne, 3, -1}, 8, 0, 0},
           Case{{0, LayerSet::kVisible, -1, 2}, 8, 0, 0},
       }) {
    SCOPED_TRACE(testing::Message() << c.choice.page << "/" << c.choice.layer);
    const Picture p = Build(d.doc, c.choice);
    ASSERT_EQ(p.result, c.result);
    if (c.result != 0) continue;
    EXPECT_EQ(p.pixels[0], c.pixel);
    EXPECT_EQ(p.header[40 + 4 * 4], c.blueOfFour);
  }
}

TEST(BitmapBuilder, ColorTableCopiesAtMost256Entries) {
  CImageDocument doc;
  ASSERT_TRUE(doc.Create(1, 1, 8, 300, 0, true));
  auto* palette = static_cast<CColorPalette*>(doc.palettes.GetCurrent());
  for (int i = 0; i < 300; ++i) {
    palette->colors[3 * i] = static_cast<std::uint8_t>(i);
    palette->colors[3 * i + 1] = 0x22;
    palette->colors[3 * i + 2] = 0x33;
  }
  const Picture p = Build(doc);
  ASSERT_EQ(p.header.size(), 1064u);
  EXPECT_EQ(Bytes(p.header.begin() + 40 + 4 * 255, p.header.end()), (Bytes{255, 0x22, 0x33, 0}));
}

TEST(BitmapBuilder, ShortPaletteAndSixteenBitColoursLeaveTheTableBlack) {
  for (int format : {0, 1}) {
    CImageDocument doc;
    ASSERT_TRUE(doc.Create(1, 1, 8, 2, static_cast<std::uint8_t>(format), true));
    auto* palette = static_cast<CColorPalette*>(doc.palettes.GetCurrent());
    if (palette->colors) std::memset(palette->colors.get(), 0x7F, 6);
    const Picture p = Build(doc);
    ASSERT_EQ(p.result, 0);
    const std::size_t black = format == 0 ? 48 : 40;
    EXPECT_EQ(Bytes(p.header.begin() + static_cast<std::ptrdiff_t>(black), p.header.end()),
              Bytes(1064 - black, 0));
  }
}

TEST(BitmapBuilder, TwentyFourBitsKeysOnTheWholeColourAndClearsPadding) {
  Document d(1, 2, 24, 1);
  d.doc.backgroundColor.color = {1, 2, 3};
  d.SetPixels(0, {1, 2, 3, 1, 2, 4});
  const Picture p = Build(d.doc);
  ASSERT_EQ(p.result, 0);
  EXPECT_EQ(p.pixels, (Bytes{1, 2, 4, 0, 1, 2, 3, 0}));
}

TEST(BitmapBuilder, DeepDocumentsWithoutADrawingRuleGiveDefinedBytes) {
  for (int depth : {15, 16}) {
    Document d(2, 2, depth, 1);
    const Picture p = Build(d.doc);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.header[14], 24);
    EXPECT_EQ(p.pixels, Bytes(16, 0));
  }
}

TEST(BitmapBuilder, LayersSmallerThanThePageAreDrawnOnlyAsFarAsTheyReach) {
  // A page record may change the size after its layers were read.
  Document d(2, 2, 8, 1);
  d.SetPixels(0, {1, 2, 3, 4});
  d.Page().width = 3;
  d.Page().height = 3;
  Picture p = Build(d.doc);
  ASSERT_EQ(p.result, 0);
  // Only one whole 3-pixel row fits in the 4-byte buffer.
  EXPECT_EQ(p.pixels, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0}));
  // The depth changed to 24 bits after 8-bit layers were read.
  d.Page().width = 1;
  d.Page().height = 2;
  d.doc.depth = 24;
  p = Build(d.doc);
  ASSERT_EQ(p.result, 0);
  EXPECT_EQ(p.pixels, (Bytes{0, 0, 0, 0, 1, 2, 3, 0}));
}

// The composition as the rules state it, one pixel at a time: fill the whole
// block (padding too at 8 bits) with the background, then draw every layer
// that takes part from the last to the first, as far as its buffer reaches.
Bytes PlainComposition(CImageDocument& doc) {
  auto& page = *static_cast<CPage*>(doc.pages.GetCurrent());
  const bool indexed = doc.depth <= 8;
  const std::size_t bpp = indexed ? 1 : 3;
  const auto width = static_cast<std::size_t>(page.width);
  const auto height = static_cast<std::size_t>(page.height);
  const std::size_t rowBytes = width * bpp;
  const std::size_t stride = (rowBytes + 3) & ~std::size_t{3};
  Bytes block(stride * height, indexed ? doc.backgroundColor.index : 0);
  for (std::size_t y = 0; y < height && !indexed; ++y)
    for (std::size_t x = 0; x < width; ++x)
      std::memcpy(&block[stride * y + 3 * x], doc.backgroundColor.color.data(), 3);
  for (int i = page.layers.GetCount() - 1; i >= 0; --i) {
    const auto& layer = *static_cast<CLayer*>(page.layers.GetAt(i));
    if (layer.visible == 0 || (!layer.pixels && !layer.uniform)) continue;
    const std::size_t rows = std::min(layer.pixelsSize / rowBytes, height);
    for (std::size_t y = 0; y < rows; ++y)
      for (std::size_t x = 0; x < width; ++x) {
        std::uint8_t s[3] = {layer.fillValue, layer.fillValue, layer.fillValue};
        if (!layer.uniform) std::memcpy(s, layer.pixels.get() + rowBytes * y + bpp * x, bpp);
        std::uint8_t* d = &block[stride * (height - 1 - y) + bpp * x];
        bool clear = false;
        if (!indexed)
          clear = std::memcmp(s, doc.backgroundColor.color.data(), 3) == 0;
        else if (doc.bankMode != 0)
          clear = (s[0] & 0x0F) == 0;
        else
          clear = s[0] == doc.backgroundColor.index;
        if (!clear) std::memcpy(d, s, bpp);
      }
  }
  return block;
}

// Random documents with padding, hidden layers, layers without pixels or
// with fewer rows than the page, uniform layers of the key or of another
// value, in every drawing rule: the builder's picture is byte for byte the
// plain composition.
TEST(BitmapBuilder, PicturesMatchThePlainCompositionOfRandomDocuments) {
  std::mt19937 rng(7);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 400; ++round) {
    const int depth = pick(2) == 0 ? 8 : 24;
    const int width = 1 + pick(40);
    const int height = 1 + pick(6);
    const int layers = 1 + pick(4);
    Document d(width, height, depth, layers);
    d.doc.bankMode = static_cast<std::uint8_t>(depth == 8 && pick(3) == 0);
    d.doc.backgroundColor.index = static_cast<std::uint8_t>(pick(4) * 16 + pick(2));
    d.doc.backgroundColor.color = {static_cast<std::uint8_t>(pick(2)), 7, 9};
    if (pick(3) == 0) d.doc.backgroundColor.color = {7, 7, 7};
    for (int i = 0; i < layers; ++i) {
      CLayer& layer = d.Layer(i);
      const std::uint8_t uniformValues[] = {d.doc.backgroundColor.index, 7, 16,
                                            static_cast<std::uint8_t>(pick(64))};
      if (pick(3) == 0)
        layer.Fill(uniformValues[pick(4)]);
      else
        layer.MaterializePixels();
      for (std::size_t b = 0; b < layer.pixelsSize && !layer.uniform; ++b) {
        const bool key = pick(2) == 0;
        const std::size_t channel = depth == 8 ? 3 : b % 3;
        const std::uint8_t keyByte =
            channel == 3 ? d.doc.backgroundColor.index : d.doc.backgroundColor.color[channel];
        layer.pixels[b] = key ? keyByte : static_cast<std::uint8_t>(pick(64));
      }
      layer.visible = static_cast<std::uint8_t>(pick(4) != 0);
      if (pick(6) == 0) layer.FreePixels();
      if (pick(6) == 0) layer.pixelsSize = layer.pixelsSize * static_cast<std::size_t>(pick(4)) / 4;
    }
    SCOPED_TRACE("round " + std::to_string(round));
    const Picture p = Build(d.doc);
    ASSERT_EQ(p.result, 0);
    ASSERT_EQ(p.pixels, PlainComposition(d.doc));
    // The rows alone, into a block that held other bytes, are the same.
    PicturePlan plan;
    ASSERT_EQ(PlanPicture(d.doc, PictureChoice(), &plan), kResultSuccess);
    Bytes alone(plan.pixelBytes, 0xA5);
    DrawPicture(plan, nullptr, alone.data());
    ASSERT_EQ(alone, p.pixels);
  }
}

TEST(BitmapBuilder, PlanGivesTheSizesOfTheBlocksToDrawInto) {
  Document d(5, 4, 8, 1);  // rows of 8 bytes with their padding
  PicturePlan plan;
  ASSERT_EQ(PlanPicture(d.doc, PictureChoice(), &plan), kResultSuccess);
  EXPECT_EQ(plan.headerBytes, 1064u);
  EXPECT_EQ(plan.pixelBytes, 32u);
  Bytes header(plan.headerBytes, 0xA5);
  Bytes pixels(plan.pixelBytes, 0xA5);
  DrawPicture(plan, header.data(), pixels.data());
  const Picture p = Build(d.doc);
  EXPECT_EQ(header, p.header);
  EXPECT_EQ(pixels, p.pixels);
}

TEST(BitmapBuilder, MissingPageOrPaletteGivesEight) {
  CImageDocument empty;
  EXPECT_EQ(Build(empty).result, 8);
  Document d(1, 1, 8, 1);
  d.doc.palettes.ClearCurrent();
  EXPECT_EQ(Build(d.doc).result, 8);
  d.doc.depth = 24;
  EXPECT_EQ(Build(d.doc).result, 0);
}

TEST(BitmapBuilder, BlocksThatCannotBeHadGiveFiveAndNullHandles) {
  Document zeroWidth(0, 4, 8, 1);
  EXPECT_EQ(Build(zeroWidth.doc).result, 5);
  Document zeroHeight(4, 0, 24, 1);
  EXPECT_EQ(Build(zeroHeight.doc).result, 5);
  Document d(4, 4, 8, 1);
  for (long failAt : {1, 2}) {
    FailAllocationAt(failAt);
    EXPECT_EQ(Build(d.doc).result, 5) << failAt;
    FailAllocationAt(0);
  }
  EXPECT_EQ(Build(d.doc).result, 0);
}

}  // namespace
}  // namespace pelo
