#include "legacy/legacy_reader.h"

#include <gtest/gtest.h>

#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

using test::Bytes;

struct Loaded {
  int result = -1;
  CImageDocument doc;
  CPage* Page() { return static_cast<CPage*>(doc.pages.GetCurrent()); }
  CLayer* Layer(int i) { return static_cast<CLayer*>(Page()->layers.GetAt(i)); }
};

void Load(const Bytes& file, Loaded* out) {
  CMemFile mem(file.data(), file.size());
  out->result = ReadLegacyFile(mem, &out->doc);
}

test::LegacyFileDesc ThreeLayers() {
  test::LegacyFileDesc f;
  f.width = 2;
  f.height = 2;
  f.transparentIndex = 7;
  f.paletteRgb = {0x30, 0x20, 0x10};
  f.layers.push_back(test::EncodeLegacyLayer("front", 1, {1, 2, 3, 4}));
  f.layers.push_back({"middle", 0, {{0, 4, 9}}, {}});
  f.layers.push_back({"back", 5, {{1, 2, 8}}, {6, 6}});
  return f;
}

TEST(LegacyReader, BuildsOnePageWithTheLayersInFileOrder) {
  Loaded l;
  Load(test::WriteLegacyFile(ThreeLayers()), &l);
  ASSERT_EQ(l.result, 0);
  EXPECT_EQ(l.doc.depth, 8);
  EXPECT_EQ(l.doc.backgroundColor.index, 7);
  const auto* palette = static_cast<CColorPalette*>(l.doc.palettes.GetCurrent());
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->colorCount, 256);
  EXPECT_EQ(Bytes(palette->colors.get(), palette->colors.get() + 3), (Bytes{0x10, 0x20, 0x30}));
  ASSERT_EQ(l.Page()->layers.GetCount(), 3);
  const char* names[] = {"front", "middle", "back"};
  const std::uint8_t visible[] = {1, 0, 5};
  const Bytes pixels[] = {{1, 2, 3, 4}, {9, 9, 9, 9}, {6, 8, 8, 6}};
  const bool uniform[] = {false, true, false};  // one run fills the middle layer
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(l.Layer(i)->name, names[i]);
    EXPECT_EQ(l.Layer(i)->visible, visible[i]);
    EXPECT_EQ(l.Layer(i)->uniform, uniform[i]);
    ASSERT_EQ(l.Layer(i)->pixelsSize, 4u);
    l.Layer(i)->MaterializePixels();
    EXPECT_EQ(Bytes(l.Layer(i)->pixels.get(), l.Layer(i)->pixels.get() + 4), pixels[i]);
  }
}

TEST(LegacyReader, NameFieldWithoutZeroKeepsAll80Bytes) {
  test::LegacyFileDesc f = ThreeLayers();
  f.layers.resize(1);
  f.layers[0].name = std::string(80, 'n');
  Loaded l;
  Load(test::WriteLegacyFile(f), &l);
  ASSERT_EQ(l.result, 0);
  EXPECT_EQ(l.Layer(0)->name, std::string(80, 'n'));
}

TEST(LegacyReader, NoLayerRecordsKeepsTheCreatedLayer) {
  test::LegacyFileDesc f = ThreeLayers();
  f.layers.clear();
  Loaded l;
  Load(test::WriteLegacyFile(f), &l);
  ASSERT_EQ(l.result, 0);
  ASSERT_EQ(l.Page()->layers.GetCount(), 1);
  EXPECT_EQ(l.Layer(0)->name, "Layer000");
}

TEST(LegacyReader, WrongSignatureIsRejected) {
  for (const char fifth : {'3', '2', ' '}) {
    test::LegacyFileDesc f = ThreeLayers();
    f.signature[4] = fifth;
    Loaded l;
    Load(test::WriteLegacyFile(f), &l);
    EXPECT_EQ(l.result, 3) << fifth;
  }
}

TEST(LegacyReader, FileEndingEarlyRaisesTheFileLayersException) {
  const Bytes whole = test::WriteLegacyFile(ThreeLayers());
  for (std::size_t size : {std::size_t{3}, std::size_t{15}, std::size_t{400}, whole.size() - 1}) {
    SCOPED_TRACE(size);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    Loaded l;
    EXPECT_THROW(Load(cut, &l), CFileException);
  }
}

}  // namespace
}  // namespace pelo
