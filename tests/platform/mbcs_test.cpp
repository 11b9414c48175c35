#include "platform/mbcs.h"

#include <gtest/gtest.h>

namespace pelo {
namespace {

TEST(Mbcs, ExtensionIsFromTheLastDotOfTheLastComponent) {
  struct Case {
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\pics\\sprite.pel", ".pel"},
      {"sprite.pel.bak", ".bak"},
      {"noextension", ""},
      {"dir.d\\file", ""},
      {"/home/u/a.PEL", ".PEL"},
      {".pel", ".pel"},
      // 0x95 0x5C is one character whose trail byte looks like a separator.
      {"\x95\x5C.pel", ".pel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(PathExtension(c.path), c.extension);
  }
}

TEST(Mbcs, CaseInsensitiveCompareTreatsDoubleByteCharactersAsUnits) {
  EXPECT_TRUE(EqualsIgnoreCaseCp932(".PEL", ".pel"));
  EXPECT_TRUE(EqualsIgnoreCaseCp932(".Pel", ".pEL"));
  EXPECT_FALSE(EqualsIgnoreCaseCp932(".pe", ".pel"));
  // The trail bytes 0x41 and 0x61 differ: no case folding inside a character.
  EXPECT_FALSE(EqualsIgnoreCaseCp932("\x82\x41", "\x82\x61"));
  EXPECT_TRUE(EqualsIgnoreCaseCp932("\x82\xA0", "\x82\xA0"));
}

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
