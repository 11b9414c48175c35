// The exported functions called exactly as a host calls them.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/api_host.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::Dib;

// A 4 x 2 8-bit document: one palette of 4 colours, two layers.
test::DocumentDesc SmallDocument() {
  test::DocumentDesc d;
  d.colorCount = 4;
  d.palettes = {{"pal", {0, 0, 0, 0x10, 0x20, 0x30, 1, 2, 3, 4, 5, 6}, {}}};
  d.backgroundIndex = 0;
  test::PageDesc page{"page", 4, 2, {}, 0, {}};
  page.layers.push_back({"top", 1, {0, 2, 0, 0, 0, 0, 0, 3}, {}, {}});
  page.layers.push_back({"bottom", 1, {1, 1, 1, 1, 1, 1, 1, 1}, {}, {}});
  d.pages = {page};
  return d;
}

test::LegacyFileDesc SmallLegacy() {
  test::LegacyFileDesc f;
  f.width = 3;
  f.height = 2;
  f.transparentIndex = 0;
  f.paletteRgb = {0, 0, 0, 0x30, 0x20, 0x10};
  f.layers.push_back(test::EncodeLegacyLayer("layer", 1, {1, 0, 1, 0, 1, 0}, 4));
  return f;
}

class EntryPoints : public ::testing::Test {
 protected:
  void SetUp() override { test::RemoveSettings(); }
  void TearDown() override { test::RemoveSettings(); }
};

TEST_F(EntryPoints, PluginInfoCopiesAtMostTheBufferLength) {
  char buffer[100];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetPluginInfo(0, buffer, 100), 5);
  EXPECT_STREQ(buffer, "00IN");
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetPluginInfo(1, buffer, 10), 10);
  EXPECT_EQ(std::string(buffer, 11), "PELO2 Susix");
  EXPECT_EQ(GetPluginInfo(2, buffer, 100), 6);
  EXPECT_STREQ(buffer, "*.pel");
  EXPECT_EQ(GetPluginInfo(3, buffer, 100), 19);
  EXPECT_STREQ(buffer, "PELO/PELO2\x83\x74\x83\x40\x83\x43\x83\x8b");
  for (int index : {4, -1, 1000}) EXPECT_EQ(GetPluginInfo(index, buffer, 100), 0);
  EXPECT_EQ(GetPluginInfo(0, buffer, 0), 0);
  EXPECT_EQ(GetPluginInfo(0, buffer, -5), 0);
}

TEST_F(EntryPoints, IsSupportedNeedsThePelExtensionAndThePeloMagic) {
  struct Case {
    const char* name;
    const char* data;
    int expected;
  };
  const Case cases[] = {
      {"sprite.pel", "PELO2.....", 1}, {"C:\\A\\SPRITE.PEL", "PELO2.....", 1},
      {"old.Pel", "PELO\0.....", 1},   {"sprite.pel.bak", "PELO2.....", 0},
      {"sprite", "PELO2.....", 0},     {"sprite.png", "PELO2.....", 0},
      {"sprite.pel", "PEL_2.....", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Pointers have bits above the low 16 set: the data is in memory.
    EXPECT_EQ(IsSupported(c.name, reinterpret_cast<uintptr_t>(c.data)), c.expected);
  }
}

TEST_F(EntryPoints, IsSupportedReadsFromAFileHandle) {
  const std::string path = test::TempPath("handle.pel");
  test::WriteFile(path, {'P', 'E', 'L', 'O', '2', 0, 0, 1});
  {
    test::OsHandle readable(path, true);
    EXPECT_EQ(IsSupported("handle.pel", readable.Word()), 1);
  }
  {
    test::OsHandle writeOnly(path, false);  // its read fails
    EXPECT_EQ(IsSupported("handle.pel", writeOnly.Word()), 0);
  }
  test::WriteFile(path, {'P', 'E', 'L'});  // shorter than the magic
  {
    test::OsHandle shortFile(path, true);
    EXPECT_EQ(IsSupported("handle.pel", shortFile.Word()), 0);
  }
  std::remove(path.c_str());
}

TEST_F(EntryPoints, PictureInfoOfBothFormats) {
  struct Case {
    const char* what;
    Bytes file;
    std::int32_t width, height;
    std::int16_t bits;
  };
  test::DocumentDesc deep = SmallDocument();
  deep.depth = 24;
  test::DocumentDesc nibble = SmallDocument();
  nibble.depth = 4;
  test::LegacyFileDesc pelo3 = SmallLegacy();
  pelo3.signature = {'P', 'E', 'L', 'O', '3'};
  const Case cases[] = {
      {"current 8-bit", test::WriteDocumentFile(SmallDocument()), 4, 2, 8},
      {"current 4-bit", test::WriteDocumentFile(nibble), 4, 2, 8},
      {"current 24-bit", test::WriteDocumentFile(deep), 4, 2, 24},
      {"legacy", test::WriteLegacyFile(SmallLegacy()), 3, 2, 8},
      {"legacy with a bad fifth byte", test::WriteLegacyFile(pelo3), 3, 2, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PictureInfo info;
    std::memset(&info, 0x55, sizeof info);
    ASSERT_EQ(test::GetInfoFromMemory(c.file, &info), 0);
    EXPECT_EQ(info.left, 0);
    EXPECT_EQ(info.top, 0);
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
    EXPECT_EQ(info.x_density, 0);
    EXPECT_EQ(info.y_density, 0);
    EXPECT_EQ(info.colorDepth, c.bits);
    const SpiLocalHandle hInfo = info.hInfo;  // packed: no reference may bind to it
    EXPECT_EQ(hInfo, nullptr);
  }
}

TEST_F(EntryPoints, UnknownDataGivesEightAndWritesNothing) {
  for (const Bytes& file : {Bytes{'G', 'I', 'F', '8', '9', 'a'}, Bytes{'P', 'E', 'L'}, Bytes{}}) {
    PictureInfo info;
    std::memset(&info, 0x55, sizeof info);
    EXPECT_EQ(test::GetInfoFromMemory(file, &info), 8);
    EXPECT_EQ(info.width, 0x55555555);
    Dib dib;
    EXPECT_EQ(test::GetPictureFromMemory(file, &dib), 8);
  }
}

TEST_F(EntryPoints, MemorySourceFlagsAndFileSourceAtAnOffset) {
  const Bytes file = test::WriteDocumentFile(SmallDocument());
  for (unsigned flag : {1u, 2u, 4u, 0xFFF1u}) {
    PictureInfo info{};
    EXPECT_EQ(GetPictureInfo(reinterpret_cast<const char*>(file.data()),
                             static_cast<intptr_t>(file.size()), flag, &info),
              0)
        << flag;
  }
  // The picture stored inside a larger file: the bytes before it are
  // never read, so they may be anything.
  Bytes container = file;
  container.insert(container.begin(), 37, 'P');
  const std::string path = test::TempPath("inside.bin");
  test::WriteFile(path, container);
  PictureInfo info{};
  EXPECT_EQ(GetPictureInfo(path.c_str(), 37, 8, &info), 0);  // flag 8: bits 0-2 clear
  EXPECT_EQ(info.width, 4);
  SpiLocalHandle header = nullptr, pixels = nullptr;
  ASSERT_EQ(GetPicture(path.c_str(), 37, 0, &header, &pixels, nullptr, 0), 0);
  Dib dib{test::TakeModuleBlock(header), test::TakeModuleBlock(pixels)};
  EXPECT_EQ(dib.Width(), 4);
  EXPECT_EQ(GetPictureInfo(path.c_str(), 36, 0, &info), 8);  // one byte early: no magic
  std::remove(path.c_str());
  EXPECT_EQ(GetPictureInfo((path + ".missing").c_str(), 0, 0, &info), 6);
  EXPECT_EQ(GetPicture((path + ".missing").c_str(), 0, 0, &header, &pixels, nullptr, 0), 6);
}

TEST_F(EntryPoints, PictureComposesLayersOverTheBackground) {
  Dib dib;
  ASSERT_EQ(test::GetPictureFromMemory(test::WriteDocumentFile(SmallDocument()), &dib), 0);
  ASSERT_EQ(dib.header.size(), 1064u);
  EXPECT_EQ(dib.Le32(0), 40);
  EXPECT_EQ(dib.Height(), 2);
  EXPECT_EQ(dib.BitsPerPixel(), 8);
  // Colour table: blue, green, red, 0; entries past the palette are black.
  EXPECT_EQ(Bytes(dib.header.begin() + 44, dib.header.begin() + 48), (Bytes{0x10, 0x20, 0x30, 0}));
  EXPECT_EQ(Bytes(dib.header.begin() + 56, dib.header.end()), Bytes(1064 - 56, 0));
  ASSERT_EQ(dib.pixels.size(), 8u);
  // Top row 0 2 0 0 over 1s; bottom row 0 0 0 3 over 1s; stored bottom-up.
  EXPECT_EQ(dib.pixels, (Bytes{1, 1, 1, 3, 1, 2, 1, 1}));
}

TEST_F(EntryPoints, LayerBondChoosesHiddenLayersOnTheNextPicture) {
  test::DocumentDesc d = SmallDocument();
  d.pages[0].layers[0].visible = 0;
  const Bytes file = test::WriteDocumentFile(d);
  Dib visibleOnly, all;
  ASSERT_EQ(test::GetPictureFromMemory(file, &visibleOnly), 0);
  EXPECT_EQ(visibleOnly.pixels, Bytes(8, 1));
  test::SetLayerBond("1");
  ASSERT_EQ(test::GetPictureFromMemory(file, &all), 0);
  EXPECT_EQ(all.pixels, (Bytes{1, 1, 1, 3, 1, 2, 1, 1}));
  test::SetLayerBond("-1");  // any non-zero value means every layer
  ASSERT_EQ(test::GetPictureFromMemory(file, &all), 0);
  EXPECT_EQ(all.pixels, (Bytes{1, 1, 1, 3, 1, 2, 1, 1}));
}

TEST_F(EntryPoints, LegacyPicture) {
  Dib dib;
  ASSERT_EQ(test::GetPictureFromMemory(test::WriteLegacyFile(SmallLegacy()), &dib), 0);
  EXPECT_EQ(dib.Width(), 3);
  EXPECT_EQ(Bytes(dib.header.begin() + 44, dib.header.begin() + 48), (Bytes{0x10, 0x20, 0x30, 0}));
  EXPECT_EQ(dib.pixels, (Bytes{0, 1, 0, 0, 1, 0, 1, 0}));
}

TEST_F(EntryPoints, PreviewAndConfigurationCodes) {
  SpiLocalHandle a = nullptr, b = nullptr;
  EXPECT_EQ(GetPreview("x.pel", 0, 0, &a, &b, nullptr, 0), -1);
  EXPECT_EQ(ConfigurationDlg(nullptr, 0), -1);
  EXPECT_EQ(ConfigurationDlg(nullptr, 2), -1);
}

}  // namespace
}  // namespace pelo
