// File names through the plain and the W entry points. A plain name is in the
// process's ANSI code page, so the suite runs under two of them (ctest
// plugin_host under 1252, plugin_host_cp932 under 932, each saying which in
// PELO_EXPECT_ACP); rows for another code page are left out of that run. W
// names do not depend on the code page and run in both.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin_module.h"
#include "support/document_writer.h"
#include "temp_file.h"

namespace pelo::wine {
namespace {

using test::Bytes;

constexpr UINT kAnyCodePage = 0;

Bytes SmallFile() {
  test::DocumentDesc d;
  d.colorCount = 2;
  d.palettes = {{"pal", {0, 0, 0, 9, 8, 7}, {}}};
  test::PageDesc page{"page", 3, 2, {}, 0, {}};
  page.layers.push_back({"layer", 1, {1, 1, 1, 1, 1, 1}, {}, {}});
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

class FileNames : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.Loaded()) << "cannot load " << ProgramFolder() << kModuleFileName;
    // A run meant for a code page must have it, or its rows would all be
    // left out without a word.
    if (const char* expected = std::getenv("PELO_EXPECT_ACP")) {
      ASSERT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
  }
  static bool ForThisCodePage(UINT codePage) {
    return codePage == kAnyCodePage || codePage == ::GetACP();
  }

  PluginModule module_;
};

struct NameCase {
  UINT codePage;     // of the plain name; kAnyCodePage: ASCII only
  const char* ansi;  // null: the row is for the W form only
  const wchar_t* wide;
  int supported;
};

// The file's first bytes are in memory, so only the name decides.
TEST_F(FileNames, IsSupportedJudgesTheExtensionByTheProcessCodePage) {
  const NameCase cases[] = {
      {kAnyCodePage, "sprite.PEL", L"sprite.PEL", 1},
      {kAnyCodePage, "C:\\my.pictures\\sprite.pel", L"C:\\my.pictures\\sprite.pel", 1},
      {kAnyCodePage, "C:\\my.pictures\\sprite", L"C:\\my.pictures\\sprite", 0},
      {kAnyCodePage, "C:\\pictures.pel\\sprite", L"C:\\pictures.pel\\sprite", 0},
      {kAnyCodePage, "sprite.pel.bak", L"sprite.pel.bak", 0},
      // "ソ.pel", "表.PEL": the trail byte 0x5C is not a separator.
      {932, "\x83\x5C.pel", L"\u30BD.pel", 1},
      {932, "\x95\x5C.PEL", L"\u8868.PEL", 1},
      // "スプライト.pel" in a folder "ドット.v2"
      {932, "C:\\\x83\x68\x83\x62\x83\x67.v2\\\x83\x58\x83\x76\x83\x89\x83\x43\x83\x67.pel",
       L"C:\\\u30C9\u30C3\u30C8.v2\\\u30B9\u30D7\u30E9\u30A4\u30C8.pel", 1},
      {932, "C:\\\x83\x68\x83\x62\x83\x67.pel\\\x83\x58", L"C:\\\u30C9\u30C3\u30C8.pel\\\u30B9", 0},
      // "café.pel": 0xE9 is a letter, not a lead byte that swallows the dot.
      {1252, "caf\xE9.pel", L"caf\u00E9.pel", 1},
      {1252, "\xC0 la carte.PEL", L"\u00C0 la carte.PEL", 1},
      {1252, "C:\\caf\xE9.pel\\menu", L"C:\\caf\u00E9.pel\\menu", 0},
      {kAnyCodePage, nullptr, L"\U0001F600.pel", 1},
      {kAnyCodePage, nullptr, L"sprite.\uFF30\uFF25\uFF2C", 0},  // full-width letters
  };
  static const char kHead[] = "PELO2.....";
  const auto word = reinterpret_cast<DWORD_PTR>(kHead);
  for (const NameCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code page " << c.codePage << ", row of "
                                      << (c.ansi != nullptr ? c.ansi : "(W only)"));
    EXPECT_EQ(module_.isSupportedW(c.wide, word), c.supported);
    if (c.ansi != nullptr && ForThisCodePage(c.codePage)) {
      EXPECT_EQ(module_.isSupported(c.ansi, word), c.supported);
    }
  }
}

// Files whose names are outside ASCII, opened by both forms; each gives the
// picture that its bytes give from memory.
TEST_F(FileNames, PicturesOpenByNameInBothForms) {
  const NameCase cases[] = {
      {932, "\x83\x58\x83\x76\x83\x89\x83\x43\x83\x67.pel", L"\u30B9\u30D7\u30E9\u30A4\u30C8.pel",
       1},
      {932, "\x95\x5C.pel", L"\u8868.pel", 1},
      {1252, "caf\xE9.pel", L"caf\u00E9.pel", 1},
      {kAnyCodePage, nullptr, L"\u0416\u4E2D\U0001F600.pel", 1},
  };
  const Bytes bytes = SmallFile();
  HostPictureInfo fromMemory{};
  ASSERT_EQ(module_.getPictureInfo(reinterpret_cast<LPCSTR>(bytes.data()),
                                   static_cast<LONG_PTR>(bytes.size()), 1, &fromMemory),
            0);
  for (const NameCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code page " << c.codePage);
    const WideTempFile file(c.wide, bytes);
    ASSERT_TRUE(file.Ok());
    HostPictureInfo info{};
    ASSERT_EQ(module_.getPictureInfoW(file.Path().c_str(), 0, 0, &info), 0);
    EXPECT_EQ(std::memcmp(&info, &fromMemory, sizeof info), 0);
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
    ASSERT_EQ(module_.getPictureW(file.Path().c_str(), 0, 0, &header, &pixels, nullptr, 0), 0);
    ::LocalFree(header);
    ::LocalFree(pixels);
    if (c.ansi == nullptr || !ForThisCodePage(c.codePage)) continue;
    const std::string ansiPath = TempFile::TempFolder() + c.ansi;
    info = {};
    EXPECT_EQ(module_.getPictureInfo(ansiPath.c_str(), 0, 0, &info), 0);
    EXPECT_EQ(info.width, 3);
  }
  const std::wstring missing = WideTempFile::TempFolder() + L"\u7121\u3044.pel";
  HostPictureInfo info{};
  EXPECT_EQ(module_.getPictureInfoW(missing.c_str(), 0, 0, &info), 6);
}

}  // namespace
}  // namespace pelo::wine
