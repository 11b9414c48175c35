// The module driven as a viewer drives it on Windows: loaded at run time,
// called through GetProcAddress with the host's own stdcall prototypes, fed
// real file handles and file names, and its blocks freed with LocalFree.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "plugin_module.h"
#include "support/document_writer.h"
#include "support/picture_digest.h"
#include "support/taken_block.h"
#include "temp_file.h"

namespace pelo::wine {
namespace {

using test::Bytes;

// 3 x 2 at 8 bits: one palette of 4 colours, one visible layer whose pixels
// never equal the background index, so the picture is the layer itself.
Bytes EightBitFile() {
  test::DocumentDesc d;
  d.colorCount = 4;
  d.palettes = {{"pal", {0, 0, 0, 0x10, 0x20, 0x30, 1, 2, 3, 4, 5, 6}, {}}};
  d.backgroundIndex = 0;
  test::PageDesc page{"page", 3, 2, {}, 0, {}};
  page.layers.push_back({"layer", 1, {1, 2, 3, 3, 2, 1}, {}, {}});
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

// 2 x 1 at 24 bits over a grey background; the second pixel is the key.
Bytes TrueColourFile() {
  test::DocumentDesc d;
  d.depth = 24;
  d.colorCount = 4;
  d.palettes = {{"pal", Bytes(12, 0), {}}};
  d.backgroundColor = {0x80, 0x80, 0x80};
  test::PageDesc page{"page", 2, 1, {}, 0, {}};
  page.layers.push_back({"layer", 1, {0x11, 0x22, 0x33, 0x80, 0x80, 0x80}, {}, {}});
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

Bytes LegacyFile() {
  test::LegacyFileDesc f;
  f.width = 5;
  f.height = 4;
  f.paletteRgb = {0, 0, 0, 0x30, 0x20, 0x10};
  f.layers.push_back(test::EncodeLegacyLayer("layer", 1, Bytes(20, 1)));
  return test::WriteLegacyFile(f);
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return h_; }
  DWORD Position() const { return ::SetFilePointer(h_, 0, nullptr, FILE_CURRENT); }

 private:
  HANDLE h_;
};

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// The two blocks of a picture: copied out, then freed the way a host frees
// them, which must succeed for both.
struct Picture {
  Bytes header;
  Bytes pixels;
};

Bytes TakeBlock(HLOCAL block) {
  auto lock = [](HLOCAL b) {
    void* p = ::LocalLock(b);
    EXPECT_NE(p, nullptr);
    return p;
  };
  auto free = [](HLOCAL b) { EXPECT_EQ(::LocalFree(b), nullptr) << "LocalFree failed"; };
  return test::CopyOutAndFree(block, ::LocalSize, lock, ::LocalUnlock, free);
}

std::int32_t Le32(const Bytes& bytes, std::size_t at) {
  std::int32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

class Host : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(module_.Loaded()) << "cannot load " << ProgramFolder(); }

  int Info(LPCSTR source, LONG_PTR positionOrSize, unsigned flag, HostPictureInfo* info) {
    return module_.getPictureInfo(source, positionOrSize, flag, info);
  }
  int Blocks(LPCSTR source, LONG_PTR positionOrSize, unsigned flag, Picture* out) {
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
    const int result =
        module_.getPicture(source, positionOrSize, flag, &header, &pixels, nullptr, 0);
    if (result == 0) {
      out->header = TakeBlock(header);
      out->pixels = TakeBlock(pixels);
    }
    return result;
  }

  // Both calls on one source, as the host would make them.
  test::PictureOutcome Outcome(LPCSTR source, LONG_PTR positionOrSize, unsigned flag) {
    return OutcomeOf(module_.getPictureInfo, module_.getPicture, source, positionOrSize, flag);
  }
  test::PictureOutcome OutcomeW(LPCWSTR source, LONG_PTR positionOrSize, unsigned flag) {
    return OutcomeOf(module_.getPictureInfoW, module_.getPictureW, source, positionOrSize, flag);
  }
  void WriteLayerBond(int value) {
    ASSERT_TRUE(::WritePrivateProfileStringA("Config", "LayerBond", std::to_string(value).c_str(),
                                             module_.IniPath().c_str()));
  }

  PluginModule module_;

 private:
  template <typename InfoFn, typename PictureFn, typename Source>
  static test::PictureOutcome OutcomeOf(InfoFn info, PictureFn picture, Source source,
                                        LONG_PTR positionOrSize, unsigned flag) {
    test::PictureOutcome o;
    HostPictureInfo reported{};
    o.info = info(source, positionOrSize, flag, &reported);
    if (o.info == 0) {
      o.width = reported.width;
      o.height = reported.height;
      o.depth = reported.colorDepth;
    }
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
    o.picture = picture(source, positionOrSize, flag, &header, &pixels, nullptr, 0);
    if (o.picture == 0) {
      o.header = TakeBlock(header);
      o.pixels = TakeBlock(pixels);
    }
    return o;
  }
};

TEST_F(Host, PluginInfoStrings) {
  struct Case {
    int index;
    int length;
    int copied;
    std::string bytes;  // what lands in the buffer
  };
  const Case cases[] = {
      {0, 100, 5, std::string("00IN", 5)},
      {1, 10, 10, "PELO2 Susi"},
      {2, 100, 6, std::string("*.pel", 6)},
      // "PELO/PELO2ファイル" in code page 932
      {3, 100, 19, std::string("PELO/PELO2\x83\x74\x83\x40\x83\x43\x83\x8b", 19)},
      {4, 100, 0, ""},
      {-1, 100, 0, ""},
      {0, 0, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    char buffer[100];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(module_.getPluginInfo(c.index, buffer, c.length), c.copied);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(c.copied)), c.bytes);
    EXPECT_EQ(buffer[c.copied], '#') << "wrote past the count";
  }
  char version[100] = {};
  module_.getPluginInfo(1, version, sizeof version);
  EXPECT_EQ(std::string(version).rfind("PELO2 Susie Plug-in Ver.1.00 ", 0), 0u) << version;
}

TEST_F(Host, PluginInfoStringsWide) {
  struct Case {
    int index;
    int length;
    int copied;
    std::wstring units;  // what lands in the buffer
  };
  const Case cases[] = {
      {0, 100, 5, std::wstring(L"00IN", 5)},
      {1, 10, 10, L"PELO2 Susi"},
      {2, 100, 6, std::wstring(L"*.pel", 6)},
      {3, 100, 15, std::wstring(L"PELO/PELO2\u30D5\u30A1\u30A4\u30EB", 15)},
      {3, 14, 14, L"PELO/PELO2\u30D5\u30A1\u30A4\u30EB"},
      {4, 100, 0, L""},
      {-1, 100, 0, L""},
      {0, 0, 0, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    wchar_t buffer[100];
    std::wmemset(buffer, L'#', 100);
    ASSERT_EQ(module_.getPluginInfoW(c.index, buffer, c.length), c.copied);
    EXPECT_EQ(std::wstring(buffer, static_cast<std::size_t>(c.copied)), c.units);
    EXPECT_EQ(buffer[c.copied], L'#') << "wrote past the count";
  }
}

TEST_F(Host, IsSupportedReadsTheHostsFileHandle) {
  const TempFile file("handle-source.pel", EightBitFile());
  ASSERT_TRUE(file.Ok());
  const Handle reading(::CreateFileA(file.Path().c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  ASSERT_NE(reading.Get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(module_.isSupported(file.Path().c_str(), reinterpret_cast<DWORD_PTR>(reading.Get())),
            1);
  EXPECT_EQ(reading.Position(), 10u) << "the read is not sought back";

  // Opened for writing only: ReadFile fails, whatever the name says.
  const Handle writing(::CreateFileA(file.Path().c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  ASSERT_NE(writing.Get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(module_.isSupported(file.Path().c_str(), reinterpret_cast<DWORD_PTR>(writing.Get())),
            0);
}

TEST_F(Host, IsSupportedWReadsTheHostsFileHandle) {
  const TempFile file("handle-source-w.pel", EightBitFile());
  ASSERT_TRUE(file.Ok());
  const Handle reading(::CreateFileA(file.Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(reading.Get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(module_.isSupportedW(L"C:\\x\\handle-source-w.pel",
                                 reinterpret_cast<DWORD_PTR>(reading.Get())),
            1);
  EXPECT_EQ(reading.Position(), 10u);
}

TEST_F(Host, IsSupportedReadsTheHostsMemory) {
  const Bytes data = EightBitFile();
  const auto word = reinterpret_cast<DWORD_PTR>(data.data());
  ASSERT_NE(word & ~DWORD_PTR{0xFFFF}, 0u);
  EXPECT_EQ(module_.isSupported("C:\\pictures\\SPRITE.PEL", word), 1);
  EXPECT_EQ(module_.isSupported("C:\\pictures\\sprite.pel.bak", word), 0);
}

TEST_F(Host, PictureInfoOfEverySourceKind) {
  const Bytes junk(37, 'J');
  const Bytes eight = EightBitFile();
  const TempFile atOffset("embedded.bin", Concat(junk, eight));
  const TempFile legacy("legacy.pel", LegacyFile());
  ASSERT_TRUE(atOffset.Ok() && legacy.Ok());

  struct Case {
    const char* what;
    LPCSTR source;
    LONG_PTR positionOrSize;
    unsigned flag;
    LONG width, height;
    SHORT depth;
  };
  const Case cases[] = {
      {"file at an offset", atOffset.Path().c_str(), 37, 0, 3, 2, 8},
      {"memory", reinterpret_cast<LPCSTR>(eight.data()), static_cast<LONG_PTR>(eight.size()), 1, 3,
       2, 8},
      {"memory, flag 4", reinterpret_cast<LPCSTR>(eight.data()),
       static_cast<LONG_PTR>(eight.size()), 4, 3, 2, 8},
      {"legacy file", legacy.Path().c_str(), 0, 0, 5, 4, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostPictureInfo info;
    std::memset(&info, 0xCD, sizeof info);
    ASSERT_EQ(Info(c.source, c.positionOrSize, c.flag, &info), 0);
    EXPECT_EQ(info.left, 0);
    EXPECT_EQ(info.top, 0);
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
    EXPECT_EQ(info.xDensity, 0);
    EXPECT_EQ(info.yDensity, 0);
    EXPECT_EQ(info.colorDepth, c.depth);
    EXPECT_EQ(info.info, nullptr);
  }
}

TEST_F(Host, EightBitPictureFromAFileAtAnOffsetAndFromMemory) {
  const Bytes eight = EightBitFile();
  const TempFile atOffset("embedded.bin", Concat(Bytes(4096, 0), eight));
  ASSERT_TRUE(atOffset.Ok());
  Picture fromFile, fromMemory;
  ASSERT_EQ(Blocks(atOffset.Path().c_str(), 4096, 0, &fromFile), 0);
  ASSERT_EQ(Blocks(reinterpret_cast<LPCSTR>(eight.data()), static_cast<LONG_PTR>(eight.size()), 1,
                   &fromMemory),
            0);
  EXPECT_EQ(fromFile.header, fromMemory.header);
  EXPECT_EQ(fromFile.pixels, fromMemory.pixels);

  const Bytes& header = fromFile.header;
  ASSERT_GE(header.size(), 40u + 1024u);
  EXPECT_EQ(Le32(header, 0), 40);
  EXPECT_EQ(Le32(header, 4), 3);
  EXPECT_EQ(Le32(header, 8), 2);
  EXPECT_EQ(header[14], 8);
  EXPECT_EQ(Bytes(header.begin() + 40, header.begin() + 52),
            (Bytes{0, 0, 0, 0, 0x10, 0x20, 0x30, 0, 1, 2, 3, 0}));
  // Bottom-up rows of stride 4; the padding holds the background index.
  EXPECT_EQ(fromFile.pixels, (Bytes{3, 2, 1, 0, 1, 2, 3, 0}));
}

TEST_F(Host, TrueColourPictureFromMemory) {
  const Bytes file = TrueColourFile();
  Picture picture;
  ASSERT_EQ(Blocks(reinterpret_cast<LPCSTR>(file.data()), static_cast<LONG_PTR>(file.size()), 1,
                   &picture),
            0);
  ASSERT_GE(picture.header.size(), 40u);
  EXPECT_EQ(Le32(picture.header, 4), 2);
  EXPECT_EQ(picture.header[14], 24);
  ASSERT_GE(picture.pixels.size(), 8u);
  EXPECT_EQ(Bytes(picture.pixels.begin(), picture.pixels.begin() + 6),
            (Bytes{0x11, 0x22, 0x33, 0x80, 0x80, 0x80}));
}

TEST_F(Host, ResultCodes) {
  Bytes badSignature = LegacyFile();
  badSignature[4] = '3';  // "PELO3": legacy to the detector, rejected by the reader
  Bytes shortLegacy = LegacyFile();
  shortLegacy.resize(shortLegacy.size() / 2);
  Bytes brokenContainer = EightBitFile();
  brokenContainer.resize(12);  // the header survives, the body is gone

  struct Case {
    const char* what;
    Bytes bytes;
    int info;
    int picture;
  };
  const Case cases[] = {
      {"unknown bytes", Bytes(64, 'x'), 8, 8},
      {"legacy signature PELO3", badSignature, 0, 3},
      {"legacy file cut short", shortLegacy, 0, 8},
      {"current format without its body", brokenContainer, 3, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFile file("codes.pel", c.bytes);
    ASSERT_TRUE(file.Ok());
    HostPictureInfo info{};
    EXPECT_EQ(Info(file.Path().c_str(), 0, 0, &info), c.info);
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
    EXPECT_EQ(module_.getPicture(file.Path().c_str(), 0, 0, &header, &pixels, nullptr, 0),
              c.picture);
    if (c.picture != 0) {
      // Nothing for the host to free.
      EXPECT_EQ(header, nullptr);
      EXPECT_EQ(pixels, nullptr);
    }
  }

  char missing[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, missing);
  std::strcat(missing, "no-such-file.pel");
  HostPictureInfo info{};
  EXPECT_EQ(Info(missing, 0, 0, &info), 6);
  Picture unused;
  EXPECT_EQ(Blocks(missing, 0, 0, &unused), 6);
}

// Every sample, hostile and honest file through both forms, from a disk file and from
// memory, in both layer modes: the four ways give the same picture, and that
// picture is the one the native module gives (the committed digest table).
TEST_F(Host, EveryFileGivesTheNativePicturesThroughEveryEntryPoint) {
  std::string actual;
  for (int layerBond : {0, 1}) {
    WriteLayerBond(layerBond);
    for (const test::DigestFixture& f : test::DigestFixtures()) {
      SCOPED_TRACE(f.name);
      const auto memory = reinterpret_cast<LPCSTR>(f.bytes.data());
      const auto size = static_cast<LONG_PTR>(f.bytes.size());
      const TempFile file("digest.pel", f.bytes);
      const WideTempFile wideFile(L"\u7D75.pel", f.bytes);
      const test::PictureOutcome reference = Outcome(memory, size, 1);
      EXPECT_TRUE(Outcome(file.Path().c_str(), 0, 0) == reference) << "ANSI file source";
      EXPECT_TRUE(OutcomeW(reinterpret_cast<LPCWSTR>(memory), size, 1) == reference)
          << "W memory source";
      EXPECT_TRUE(OutcomeW(wideFile.Path().c_str(), 0, 0) == reference) << "W file source";
      actual += test::DigestLine(f.name, layerBond, reference);
    }
  }
  ::DeleteFileA(module_.IniPath().c_str());
  EXPECT_EQ(actual, test::ReadWholeFile(test::GoldenDigestPath()));
}

TEST_F(Host, FunctionsNotProvided) {
  const Bytes file = EightBitFile();
  HLOCAL header = nullptr;
  HLOCAL pixels = nullptr;
  EXPECT_EQ(module_.getPreview(reinterpret_cast<LPCSTR>(file.data()),
                               static_cast<LONG_PTR>(file.size()), 1, &header, &pixels, nullptr, 0),
            -1);
  EXPECT_EQ(
      module_.getPreviewW(reinterpret_cast<LPCWSTR>(file.data()),
                          static_cast<LONG_PTR>(file.size()), 1, &header, &pixels, nullptr, 0),
      -1);
  for (int function : {0, 2, -1}) {
    SCOPED_TRACE(function);
    EXPECT_EQ(module_.configurationDlg(nullptr, function), -1);
  }
  // Nothing was created on the way: this thread owns no window.
  int windows = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 0);
}

}  // namespace
}  // namespace pelo::wine
