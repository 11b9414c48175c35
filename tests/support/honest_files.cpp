#include "support/honest_files.h"

#include "support/document_writer.h"

namespace pelo::test {
namespace {

constexpr std::uint8_t kKey = 0;  // transparent index and background

struct Recipe {
  std::string what;
  bool legacy;
  std::uint32_t width;
  std::uint32_t height;
  std::vector<std::uint8_t> layerValues;  // top first; current format: no pixel record at all
};

Bytes LegacyOfRuns(const Recipe& r) {
  LegacyFileDesc d;
  d.width = r.width;
  d.height = r.height;
  d.transparentIndex = kKey;
  d.paletteRgb = {0, 0, 0, 10, 20, 30};
  for (std::uint8_t value : r.layerValues) {
    LegacyLayerDesc layer;
    layer.name = "run";
    layer.runs.push_back({0, r.width * r.height, value});
    d.layers.push_back(layer);
  }
  return WriteLegacyFile(d);
}

Bytes CurrentWithoutPixels(const Recipe& r) {
  DocumentDesc d;
  d.colorCount = 2;
  d.palettes = {{"p", {0, 0, 0, 255, 255, 255}, {}}};
  d.backgroundIndex = kKey;
  PageDesc page{
      "page", static_cast<std::uint16_t>(r.width), static_cast<std::uint16_t>(r.height), {}, 0, {}};
  for (std::size_t i = 0; i < r.layerValues.size(); ++i) page.extra.Header(2003, 0);
  d.pages = {page};
  return WriteDocumentFile(d);
}

std::uint8_t TopmostOpaque(const Recipe& r) {
  for (std::uint8_t value : r.layerValues)
    if (value != kKey) return value;
  return kKey;
}

}  // namespace

std::vector<HonestFile> HonestFiles() {
  const Recipe recipes[] = {
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
  std::vector<HonestFile> files;
  for (const Recipe& r : recipes) {
    files.push_back({r.what, r.legacy ? LegacyOfRuns(r) : CurrentWithoutPixels(r), r.width,
                     r.height, TopmostOpaque(r)});
  }
  return files;
}

}  // namespace pelo::test
