// Honest files whose pictures are large next to their bytes open from both
// calls with every pixel the value of the topmost opaque layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "plugin/api_host.h"
#include "support/honest_files.h"

namespace pelo {
namespace {

TEST(HonestFiles, LargePicturesOfFewBytesOpenWithTheRightPixels) {
  test::RemoveSettings();
  for (const test::HonestFile& f : test::HonestFiles()) {
    SCOPED_TRACE(f.what);
    PictureInfo info{};
    ASSERT_EQ(test::GetInfoFromMemory(f.bytes, &info), 0);
    EXPECT_EQ(info.width, static_cast<std::int32_t>(f.width));
    EXPECT_EQ(info.height, static_cast<std::int32_t>(f.height));
    test::Dib dib;
    ASSERT_EQ(test::GetPictureFromMemory(f.bytes, &dib), 0);
    ASSERT_EQ(dib.Width(), static_cast<std::int32_t>(f.width));
    for (int y = 0; y < dib.Height(); ++y) {
      const std::uint8_t* row = dib.At(0, y);
      const bool uniform =
          std::all_of(row, row + f.width, [&](std::uint8_t v) { return v == f.value; });
      ASSERT_TRUE(uniform) << "row " << y;
    }
  }
}

}  // namespace
}  // namespace pelo
