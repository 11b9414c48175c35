// Files a user can honestly have whose pictures are large next to the bytes
// that describe them: legacy layers stored as one run each, current-format
// layers that no pixel record fills. Each opens, from both calls, and shows
// the value its topmost opaque layer holds (or the background).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "plugin/api_host.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

using test::Bytes;

constexpr std::uint8_t kKey = 0;  // transparent index and background

struct HonestFile {
  std::string what;
  bool legacy;
  std::uint32_t width;
  std::uint32_t height;
  std::vector<std::uint8_t> layerValues;  // top first; current format: no pixel record at all
};

Bytes LegacyOfRuns(const HonestFile& f) {
  test::LegacyFileDesc d;
  d.width = f.width;
  d.height = f.height;
  d.transparentIndex = kKey;
  d.paletteRgb = {0, 0, 0, 10, 20, 30};
  for (std::uint8_t value : f.layerValues) {
    test::LegacyLayerDesc layer;
    layer.name = "run";
    layer.runs.push_back({0, f.width * f.height, value});
    d.layers.push_back(layer);
  }
  return test::WriteLegacyFile(d);
}

Bytes CurrentWithoutPixels(const HonestFile& f) {
  test::DocumentDesc d;
  d.colorCount = 2;
  d.palettes = {{"p", {0, 0, 0, 255, 255, 255}, {}}};
  d.backgroundIndex = kKey;
  test::PageDesc page{
      "page", static_cast<std::uint16_t>(f.width), static_cast<std::uint16_t>(f.height), {}, 0, {}};
  for (std::size_t i = 0; i < f.layerValues.size(); ++i) page.extra.Header(2003, 0);
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

std::uint8_t ExpectedValue(const HonestFile& f) {
  for (std::uint8_t value : f.layerValues)
    if (value != kKey) return value;
  return kKey;
}

TEST(HonestFiles, LargePicturesOfFewBytesOpenWithTheRightPixels) {
  test::RemoveSettings();
  const HonestFile files[] = {
      {"legacy 4000 x 4000, one run", true, 4000, 4000, {5}},
      {"legacy 4096 x 4096, one run", true, 4096, 4096, {6}},
      {"legacy 4096 x 4096, one blank run", true, 4096, 4096, {kKey}},
      {"legacy 3000 x 3000, three runs", true, 3000, 3000, {kKey, 7, 9}},
      {"legacy 2048 x 2048, eight runs",
       true,
       2048,
       2048,
       {kKey, kKey, kKey, kKey, kKey, kKey, kKey, 3}},
      {"legacy 1500 x 1500, fifteen runs", true, 1500, 1500, std::vector<std::uint8_t>(15, 9)},
      {"legacy 1024 x 1024, forty blank runs", true, 1024, 1024,
       std::vector<std::uint8_t>(40, kKey)},
      {"current 2048 x 2048, eight layers without pixels", false, 2048, 2048,
       std::vector<std::uint8_t>(8, 0)},
  };
  for (const HonestFile& f : files) {
    SCOPED_TRACE(f.what);
    const Bytes bytes = f.legacy ? LegacyOfRuns(f) : CurrentWithoutPixels(f);
    PictureInfo info{};
    ASSERT_EQ(test::GetInfoFromMemory(bytes, &info), 0);
    EXPECT_EQ(info.width, static_cast<std::int32_t>(f.width));
    EXPECT_EQ(info.height, static_cast<std::int32_t>(f.height));
    test::Dib dib;
    ASSERT_EQ(test::GetPictureFromMemory(bytes, &dib), 0);
    ASSERT_EQ(dib.Width(), static_cast<std::int32_t>(f.width));
    const std::uint8_t expected = ExpectedValue(f);
    for (int y = 0; y < dib.Height(); ++y) {
      const std::uint8_t* row = dib.At(0, y);
      const bool uniform =
          std::all_of(row, row + f.width, [&](std::uint8_t v) { return v == expected; });
      ASSERT_TRUE(uniform) << "row " << y;
    }
  }
}

}  // namespace
}  // namespace pelo
