#include "plugin/pixel_operations.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace pelo
