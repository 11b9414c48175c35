#include "platform/file_name.h"

#include <gtest/gtest.h>

namespace pelo {
namespace {

// Rows that hold whatever the process's code page is, as long as it is a
// single-byte one or UTF-8 (the native build's C or UTF-8 locale, a Western
// Windows). The double-byte rules are exercised through the DLL's entry
// points under a Japanese code page.
TEST(FileName, ExtensionIsFromTheLastDotOfTheLastComponent) {
  struct Case {
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\pics\\sprite.pel", ".pel"},
      {"sprite.pel.bak", ".bak"},
      {"noextension", ""},
      {"dir.d\\file", ""},
      {"dir.d/file", ""},
      {"C:file.pel", ".pel"},
      {"/home/u/a.PEL", ".PEL"},
      {".pel", ".pel"},
      {"trailing.", "."},
      // Latin-1 e acute before the dot: one character on a Western code page,
      // an invalid byte that stands alone in UTF-8.
      {"caf\xE9.pel", ".pel"},
      // "e acute" in UTF-8.
      {"caf\xC3\xA9.pel", ".pel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(AnsiPathExtension(c.path), c.extension);
  }
  EXPECT_EQ(AnsiPathExtension(nullptr), "");
}

TEST(FileName, WideExtensionTreatsSurrogatesAsPlainUnits) {
  EXPECT_EQ(WidePathExtension(L"C:\\\u30C9\u30C3\u30C8.v2\\\u7D75.PEL"), L".PEL");
  EXPECT_EQ(WidePathExtension(L"C:\\dot.ted\\name"), L"");
  EXPECT_EQ(WidePathExtension(L"x.pel.bak"), L".bak");
  const wchar_t astral[] = {0xD83D, 0xDE00, L'.', L'p', L'e', L'l', 0};
  EXPECT_EQ(WidePathExtension(astral), L".pel");
  EXPECT_EQ(WidePathExtension(nullptr), L"");
}

TEST(FileName, AsciiCompareFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsAsciiIgnoreCase(std::string_view(".PeL"), ".pel"));
  EXPECT_TRUE(EqualsAsciiIgnoreCase(std::wstring_view(L".PEL"), ".pel"));
  EXPECT_FALSE(EqualsAsciiIgnoreCase(std::string_view(".pe"), ".pel"));
  EXPECT_FALSE(EqualsAsciiIgnoreCase(std::string_view(".pell"), ".pel"));
  // Full-width letters are not ASCII and never fold.
  EXPECT_FALSE(EqualsAsciiIgnoreCase(std::wstring_view(L".\uFF30EL"), ".pel"));
  // A byte with the high bit set must not fold onto a letter.
  EXPECT_FALSE(EqualsAsciiIgnoreCase(std::string_view(".p\xC5l"), ".pel"));
}

}  // namespace
}  // namespace pelo
