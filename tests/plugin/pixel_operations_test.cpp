#include "plugin/pixel_operations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugin/pixel_kernels.h"

namespace pelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 3 x 2 picture in a bottom-up block with a stride of 4: rows are drawn
// from the last block row upwards, and padding byte 3 of each row must stay.
constexpr std::ptrdiff_t kStride = 4;
constexpr std::uint8_t kPad = 0xEE;

Bytes Block() {
  return Bytes(2 * kStride, kPad);
}
std::uint8_t* Top(Bytes& block) {
  return block.data() + kStride;
}

TEST(PixelOperations, IndexedKeyedKeepsKeyPixelsAndPadding) {
  Bytes block = Block();
  const Bytes source = {1, 5, 2, /* row 2 */ 5, 3, 4};
  BlitIndexedKeyed(Top(block), -kStride, 3, 2, source.data(), 3, 5);
  EXPECT_EQ(block, (Bytes{kPad, 3, 4, kPad, 1, kPad, 2, kPad}));
}

TEST(PixelOperations, NibbleRuleMakesEveryMultipleOf16Transparent) {
  Bytes block = Block();
  const Bytes source = {0, 16, 5, /* row 2 */ 240, 17, 32};
  BlitIndexedNibble(Top(block), -kStride, 3, 2, source.data(), 3);
  EXPECT_EQ(block, (Bytes{kPad, 17, kPad, kPad, kPad, kPad, 5, kPad}));
}

TEST(PixelOperations, Rgb24FillAndKeyedBlit) {
  constexpr std::ptrdiff_t stride = 8;  // 2 pixels x 3 bytes, rounded up
  Bytes block(2 * stride, kPad);
  const std::uint8_t background[3] = {1, 2, 3};
  FillRgb24(block.data() + stride, -stride, 2, 2, background);
  EXPECT_EQ(block, (Bytes{1, 2, 3, 1, 2, 3, kPad, kPad, 1, 2, 3, 1, 2, 3, kPad, kPad}));
  // Only a pixel equal to the key in all three bytes is transparent.
  const Bytes source = {1, 2, 3, 1, 2, 4, /* row 2 */ 9, 9, 9, 1, 2, 3};
  BlitRgb24Keyed(block.data() + stride, -stride, 2, 2, source.data(), background);
  EXPECT_EQ(block, (Bytes{9, 9, 9, 1, 2, 3, kPad, kPad, 1, 2, 3, 1, 2, 4, kPad, kPad}));
}

TEST(PixelOperations, EmptyAreasWriteNothing) {
  Bytes block = Block();
  const Bytes source(6, 9);
  const std::uint8_t color[3] = {7, 7, 7};
  for (int w : {0, -1}) {
    BlitIndexedKeyed(Top(block), -kStride, w, 2, source.data(), 3, 0);
    BlitIndexedNibble(Top(block), -kStride, 2, w, source.data(), 3);
    FillRgb24(Top(block), -kStride, w, 2, color);
    BlitRgb24Keyed(Top(block), -kStride, 1, w, source.data(), color);
  }
  EXPECT_EQ(block, Block());
}

// The rules one pixel at a time, as plainly as they can be written: what the
// fast forms must match byte for byte.
void PlainKeyed(std::uint8_t* d, const std::uint8_t* s, int width, std::uint8_t key) {
  for (int x = 0; x < width; ++x)
    if (s[x] != key) d[x] = s[x];
}
void PlainNibble(std::uint8_t* d, const std::uint8_t* s, int width) {
  for (int x = 0; x < width; ++x)
    if ((s[x] & 0x0F) != 0) d[x] = s[x];
}
void PlainRgb24(std::uint8_t* d, const std::uint8_t* s, int width, const std::uint8_t key[3]) {
  for (int x = 0; x < width; ++x)
    if (s[3 * x] != key[0] || s[3 * x + 1] != key[1] || s[3 * x + 2] != key[2])
      std::memcpy(d + 3 * x, s + 3 * x, 3);
}

// Random rows in which the transparent value is common and comes in runs
// as well as alone, so that whole, partial and empty steps all occur.
class RowData {
 public:
  explicit RowData(unsigned seed) : rng_(seed) {}

  Bytes Source(std::size_t pixels, int bytesPerPixel, const std::uint8_t* key) {
    Bytes out(pixels * bytesPerPixel);
    std::size_t x = 0;
    while (x < pixels) {
      const std::size_t run = 1 + rng_() % 24;
      const int kind = static_cast<int>(rng_() % 4);  // key, random, near key, one value
      const std::uint8_t one = static_cast<std::uint8_t>(rng_());
      for (std::size_t i = 0; i < run && x < pixels; ++i, ++x)
        for (int b = 0; b < bytesPerPixel; ++b) {
          std::uint8_t v = key[b];
          if (kind == 1) v = static_cast<std::uint8_t>(rng_());
          if (kind == 2 && static_cast<int>(rng_() % bytesPerPixel) == b) v ^= 1 << (rng_() % 8);
          if (kind == 3) v = one;
          out[x * bytesPerPixel + b] = v;
        }
    }
    return out;
  }

  Bytes Noise(std::size_t bytes) {
    Bytes out(bytes);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng_());
    return out;
  }

  std::uint8_t Byte() { return static_cast<std::uint8_t>(rng_()); }

 private:
  std::mt19937 rng_;
};

// Widths around every step size, and offsets of source and destination
// that reach every alignment of a 32-byte vector.
constexpr int kWidths[] = {1,  2,  3,  5,  7,  8,  9,  15, 16, 17, 21,  22,
                           23, 31, 32, 33, 47, 48, 49, 63, 64, 65, 100, 257};
constexpr int kOffsets[] = {0, 1, 3, 7, 13, 31};
constexpr std::size_t kGuard = 40;  // bytes checked on both sides of a row

struct RowCase {
  const PixelKernels* kernels;
  int width;
  int sourceOffset;
  int destOffset;
  std::string Name() const {
    return std::string(kernels->name) + " width " + std::to_string(width) + " source +" +
           std::to_string(sourceOffset) + " dest +" + std::to_string(destOffset);
  }
};

template <typename Run>
void ForEveryRowCase(Run run) {
  for (const PixelKernels& kernels : AllPixelKernels()) {
    if (!kernels.supported()) continue;
    for (int width : kWidths)
      for (int so : kOffsets)
        for (int d : kOffsets) run(RowCase{&kernels, width, so, d});
  }
}

// The destination with guard bytes on both sides, filled with noise.
struct GuardedRow {
  Bytes bytes;
  int offset;
  std::uint8_t* Row() { return bytes.data() + kGuard + offset; }
};

GuardedRow Destination(RowData& data, std::size_t rowBytes, int offset) {
  return {data.Noise(rowBytes + 2 * kGuard + 32), offset};
}

TEST(PixelKernels, EveryFormMatchesThePlainIndexedKeyedRule) {
  RowData data(1);
  ForEveryRowCase([&](const RowCase& c) {
    const std::uint8_t key = data.Byte();
    Bytes source(static_cast<std::size_t>(c.sourceOffset), 0);
    const Bytes row = data.Source(static_cast<std::size_t>(c.width), 1, &key);
    source.insert(source.end(), row.begin(), row.end());
    GuardedRow fast = Destination(data, static_cast<std::size_t>(c.width), c.destOffset);
    GuardedRow plain = fast;
    c.kernels->blitIndexedKeyed(fast.Row(), 0, c.width, 1, source.data() + c.sourceOffset, 0, key);
    PlainKeyed(plain.Row(), source.data() + c.sourceOffset, c.width, key);
    ASSERT_EQ(fast.bytes, plain.bytes) << c.Name();
  });
}

TEST(PixelKernels, EveryFormMatchesThePlainNibbleRule) {
  RowData data(2);
  ForEveryRowCase([&](const RowCase& c) {
    const std::uint8_t key = static_cast<std::uint8_t>(data.Byte() & 0xF0);
    Bytes source(static_cast<std::size_t>(c.sourceOffset), 0);
    const Bytes row = data.Source(static_cast<std::size_t>(c.width), 1, &key);
    source.insert(source.end(), row.begin(), row.end());
    GuardedRow fast = Destination(data, static_cast<std::size_t>(c.width), c.destOffset);
    GuardedRow plain = fast;
    c.kernels->blitIndexedNibble(fast.Row(), 0, c.width, 1, source.data() + c.sourceOffset, 0);
    PlainNibble(plain.Row(), source.data() + c.sourceOffset, c.width);
    ASSERT_EQ(fast.bytes, plain.bytes) << c.Name();
  });
}

TEST(PixelKernels, EveryFormMatchesThePlainRgb24KeyedRule) {
  RowData data(3);
  ForEveryRowCase([&](const RowCase& c) {
    const std::uint8_t key[3] = {data.Byte(), data.Byte(), data.Byte()};
    Bytes source(static_cast<std::size_t>(c.sourceOffset), 0);
    const Bytes row = data.Source(static_cast<std::size_t>(c.width), 3, key);
    source.insert(source.end(), row.begin(), row.end());
    GuardedRow fast = Destination(data, static_cast<std::size_t>(c.width) * 3, c.destOffset);
    GuardedRow plain = fast;
    c.kernels->blitRgb24Keyed(fast.Row(), 0, c.width, 1, source.data() + c.sourceOffset, key);
    PlainRgb24(plain.Row(), source.data() + c.sourceOffset, c.width, key);
    ASSERT_EQ(fast.bytes, plain.bytes) << c.Name();
  });
}

TEST(PixelKernels, EveryFormCopiesRowsExactly) {
  RowData data(5);
  ForEveryRowCase([&](const RowCase& c) {
    for (std::size_t rowBytes :
         {static_cast<std::size_t>(c.width), static_cast<std::size_t>(c.width) * 3}) {
      Bytes source(static_cast<std::size_t>(c.sourceOffset), 0);
      const Bytes row = data.Noise(rowBytes);
      source.insert(source.end(), row.begin(), row.end());
      GuardedRow fast = Destination(data, rowBytes, c.destOffset);
      GuardedRow plain = fast;
      c.kernels->copyRows(fast.Row(), 0, rowBytes, 1, source.data() + c.sourceOffset);
      std::memcpy(plain.Row(), row.data(), rowBytes);
      ASSERT_EQ(fast.bytes, plain.bytes) << c.Name() << " row bytes " << rowBytes;
    }
  });
}

TEST(PixelKernels, TheWordFormIsAlwaysThereAndLast) {
  ASSERT_FALSE(AllPixelKernels().empty());
  EXPECT_STREQ(AllPixelKernels().back().name, "words");
  EXPECT_TRUE(ActivePixelKernels().supported());
}

// The operations, and every form of the keyed ones, over whole bottom-up
// blocks with padding: rows land where the step puts them and the padding
// keeps its bytes.
struct BlockForm {
  std::string name;
  PixelKernels kernels;
};

std::vector<BlockForm> BlockForms() {
  std::vector<BlockForm> forms = {
      {"operations",
       {"operations", BlitIndexedKeyed, BlitIndexedNibble, BlitRgb24Keyed, CopyRows, nullptr}}};
  for (const PixelKernels& kernels : AllPixelKernels())
    if (kernels.supported()) forms.push_back({kernels.name, kernels});
  return forms;
}

TEST(PixelOperations, WholeBlocksMatchThePlainRulesRowByRow) {
  RowData data(4);
  for (const BlockForm& form : BlockForms())
    for (int width : {1, 3, 15, 17, 33, 70, 100})
      for (int height : {1, 2, 5}) {
        const std::size_t stride8 = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
        const std::size_t stride24 = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
        const std::uint8_t key = data.Byte();
        const std::uint8_t color[3] = {data.Byte(), data.Byte(), data.Byte()};
        const Bytes source8 = data.Source(static_cast<std::size_t>(width * height), 1, &key);
        const Bytes source24 = data.Source(static_cast<std::size_t>(width * height), 3, color);
        Bytes keyed = data.Noise(stride8 * height), nibble = keyed;
        Bytes fill = data.Noise(stride24 * height), rgb = fill, copy = fill;
        Bytes keyedPlain = keyed, nibblePlain = nibble, fillPlain = fill, rgbPlain = rgb,
              copyPlain = copy;
        const auto step8 = -static_cast<std::ptrdiff_t>(stride8);
        const auto step24 = -static_cast<std::ptrdiff_t>(stride24);
        form.kernels.blitIndexedKeyed(keyed.data() + stride8 * (height - 1), step8, width, height,
                                      source8.data(), width, key);
        form.kernels.blitIndexedNibble(nibble.data() + stride8 * (height - 1), step8, width, height,
                                       source8.data(), width);
        FillRgb24(fill.data() + stride24 * (height - 1), step24, width, height, color);
        form.kernels.blitRgb24Keyed(rgb.data() + stride24 * (height - 1), step24, width, height,
                                    source24.data(), color);
        form.kernels.copyRows(copy.data() + stride24 * (height - 1), step24,
                              static_cast<std::size_t>(width) * 3, height, source24.data());
        for (int y = 0; y < height; ++y) {
          const std::size_t row8 = stride8 * (height - 1 - y);
          const std::size_t row24 = stride24 * (height - 1 - y);
          PlainKeyed(keyedPlain.data() + row8, source8.data() + width * y, width, key);
          PlainNibble(nibblePlain.data() + row8, source8.data() + width * y, width);
          for (int x = 0; x < width; ++x) std::memcpy(fillPlain.data() + row24 + 3 * x, color, 3);
          PlainRgb24(rgbPlain.data() + row24, source24.data() + 3 * width * y, width, color);
          std::memcpy(copyPlain.data() + row24, source24.data() + 3 * width * y,
                      static_cast<std::size_t>(width) * 3);
        }
        const std::string name =
            form.name + " " + std::to_string(width) + " x " + std::to_string(height);
        EXPECT_EQ(keyed, keyedPlain) << name;
        EXPECT_EQ(nibble, nibblePlain) << name;
        EXPECT_EQ(fill, fillPlain) << name;
        EXPECT_EQ(rgb, rgbPlain) << name;
        EXPECT_EQ(copy, copyPlain) << name;
      }
}

}  // namespace
}  // namespace pelo
