#include "bench_documents.h"

#include <array>
#include <cstring>

#include "support/document_writer.h"

namespace pelo::bench {

namespace {

// Chance that a block of an upper layer is painted; the rest is background.
constexpr unsigned kUpperCoverPercent = 25;
// Chance, per pixel of a painted block, of a shading pixel one to three
// palette steps away from the block's colour: deflate spends about as much
// on one such pixel at either depth, so 24-bit pages get more of them to
// land in the same range of compression ratios.
unsigned ShadePerMille(bool bottom, int depth) {
  if (depth == 24) return bottom ? 20 : 110;
  return bottom ? 8 : 40;
}
constexpr std::uint8_t kBackgroundIndex = 0;

class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
  int Between(int low, int high) { return low + static_cast<int>(Below(high - low + 1)); }

 private:
  std::uint64_t state_;
};

std::uint8_t Shade(std::uint8_t color, unsigned step) {
  return static_cast<std::uint8_t>(1 + (color - 1 + step) % 255);
}

void PaintBlock(Bytes& pixels, int size, int left, int top, int width, int height,
                std::uint8_t color, unsigned shadePerMille, SplitMix& rng) {
  for (int y = top; y < top + height; ++y) {
    std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * size;
    std::memset(row + left, color, static_cast<std::size_t>(width));
    if (color == kBackgroundIndex) continue;
    for (int x = left; x < left + width; ++x)
      if (rng.Below(1000) < shadePerMille) row[x] = Shade(color, 1 + rng.Below(3));
  }
}

}  // namespace

// Entry 0 (the background) differs from every other entry, so that no
// painted 24-bit pixel is taken for the key.
Bytes BenchPalette() {
  SplitMix rng(0x5EED);
  Bytes colors(768);
  colors[0] = 0xFF, colors[1] = 0x00, colors[2] = 0xFF;
  for (int i = 1; i < 256; ++i) {
    for (int c = 0; c < 3; ++c) colors[3 * i + c] = static_cast<std::uint8_t>(rng.Below(256));
    if (std::memcmp(&colors[3 * i], &colors[0], 3) == 0) colors[3 * i + 1] = 1;
  }
  return colors;
}

namespace {

Bytes ToRgb24(const Bytes& indices, const Bytes& palette) {
  Bytes out(indices.size() * 3);
  for (std::size_t i = 0; i < indices.size(); ++i)
    std::memcpy(&out[3 * i], &palette[3 * indices[i]], 3);
  return out;
}

std::uint64_t LayerSeed(const DocumentShape& shape, int layer) {
  return (static_cast<std::uint64_t>(shape.size) << 20) ^ (static_cast<std::uint64_t>(layer) << 8) ^
         0xC0FFEEull;
}

test::LegacyFileDesc LegacyDesc(const DocumentShape& shape, const Bytes& palette) {
  test::LegacyFileDesc desc;
  desc.width = static_cast<std::uint32_t>(shape.size);
  desc.height = static_cast<std::uint32_t>(shape.size);
  desc.transparentIndex = kBackgroundIndex;
  desc.paletteRgb.resize(768);
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) desc.paletteRgb[3 * i + c] = palette[3 * i + 2 - c];
  for (int i = 0; i < shape.layers; ++i) {
    const Bytes pixels =
        PaintLayer(shape.size, shape.depth, i == shape.layers - 1, LayerSeed(shape, i));
    desc.layers.push_back(test::EncodeLegacyLayer("Layer" + std::to_string(i), 1, pixels));
  }
  return desc;
}

test::DocumentDesc CurrentDesc(const DocumentShape& shape, const Bytes& palette) {
  test::DocumentDesc desc;
  desc.depth = static_cast<std::uint8_t>(shape.depth);
  desc.palettes.push_back({"Palette", palette, {}});
  desc.backgroundIndex = kBackgroundIndex;
  desc.backgroundColor = {palette[0], palette[1], palette[2]};
  test::PageDesc page;
  page.name = "Page";
  page.width = static_cast<std::uint16_t>(shape.size);
  page.height = static_cast<std::uint16_t>(shape.size);
  for (int i = 0; i < shape.layers; ++i) {
    test::LayerDesc layer;
    layer.name = "Layer" + std::to_string(i);
    // The first layer of the list is the top one; the last is opaque.
    layer.pixels = PaintLayer(shape.size, shape.depth, i == shape.layers - 1, LayerSeed(shape, i));
    if (shape.depth == 24) layer.pixels = ToRgb24(layer.pixels, palette);
    page.layers.push_back(std::move(layer));
  }
  desc.pages.push_back(std::move(page));
  return desc;
}

}  // namespace

std::string Describe(const DocumentShape& shape) {
  const std::string side = std::to_string(shape.size);
  std::string text = side + "x" + side + " " + std::to_string(shape.layers) +
                     (shape.layers == 1 ? " layer " : " layers ") + std::to_string(shape.depth) +
                     "-bit";
  return shape.format == Format::kLegacy ? text + " legacy" : text;
}

Bytes PaintLayer(int size, int depth, bool bottom, std::uint64_t seed) {
  SplitMix rng(seed);
  Bytes pixels(static_cast<std::size_t>(size) * size, kBackgroundIndex);
  for (int top = 0; top < size;) {
    const int height = std::min(rng.Between(8, 32), size - top);
    for (int left = 0; left < size;) {
      const int width = std::min(rng.Between(8, 32), size - left);
      const bool painted = bottom || rng.Below(100) < kUpperCoverPercent;
      const auto color = static_cast<std::uint8_t>(painted ? rng.Between(1, 255) : 0);
      PaintBlock(pixels, size, left, top, width, height, color, ShadePerMille(bottom, depth), rng);
      left += width;
    }
    top += height;
  }
  return pixels;
}

BenchDocument MakeBenchDocument(const DocumentShape& shape) {
  BenchDocument doc;
  doc.shape = shape;
  const Bytes palette = BenchPalette();
  if (shape.format == Format::kLegacy) {
    doc.file = test::WriteLegacyFile(LegacyDesc(shape, palette));
    return doc;
  }
  const test::DocumentDesc desc = CurrentDesc(shape, palette);
  if (shape.layers == 1 && shape.depth == 8) doc.picture = desc.pages[0].layers[0].pixels;
  const test::RecordWriter body = test::DocumentBody(desc);
  doc.bodySize = body.bytes().size();
  doc.file = test::MakeContainer(body.bytes());
  return doc;
}

}  // namespace pelo::bench
