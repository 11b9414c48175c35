#include "platform/mbcs.h"

#include <gtest/gtest.h>

namespace pelo {
namespace {

TEST(Mbcs, TruncateNeverSplitsADoubleByteCharacter) {
  EXPECT_EQ(TruncateToCharBoundary(std::string(80, 'a'), 256), std::string(80, 'a'));
  EXPECT_EQ(TruncateToCharBoundary(std::string(300, 'a'), 256), std::string(256, 'a'));
  const std::string split = std::string(255, 'a') + "\x82\xA0" + "zz";
  EXPECT_EQ(TruncateToCharBoundary(split, 256), std::string(255, 'a'));
  const std::string whole = std::string(254, 'a') + "\x82\xA0" + "zz";
  EXPECT_EQ(TruncateToCharBoundary(whole, 256), std::string(254, 'a') + "\x82\xA0");
}

}  // namespace
}  // namespace pelo
