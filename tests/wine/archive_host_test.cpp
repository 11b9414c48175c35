// The archive module driven as a viewer drives it: the list of entries from
// file and memory sources by ANSI and UTF-16 names, every entry extracted
// into memory and into a folder, each compared with the picture the import
// module and the core's builder give for that page, layer set and palette.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/archive_listing.h"
#include "archive_module.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "plugin/bitmap_builder.h"
#include "plugin_module.h"
#include "readers/picture_loader.h"
#include "support/document_writer.h"
#include "support/hostile_files.h"
#include "support/picture_digest.h"
#include "support/taken_block.h"
#include "temp_file.h"

namespace pelo::wine {
namespace {

using test::Bytes;

constexpr unsigned kMemorySource = 1;
constexpr unsigned kMemoryDest = 0x100;
constexpr unsigned kIgnoreCase = 0x80;

struct Sample {
  std::string name;
  Bytes bytes;
};

Bytes ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Japanese page and layer names, a name no file can hold and two palettes.
Bytes NamedFixture() {
  test::DocumentDesc d;
  d.colorCount = 4;
  d.palettes = {{"\x92\x8b", {0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, {}},  // 昼
                {"\x96\xe9", {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}};          // 夜
  test::PageDesc page{"\x8c\x95", 3, 2, {}, 0, {}};                               // 剣
  page.layers.push_back({"\x95\x5c a/b", 0, {3, 0, 0, 0, 0, 3}, {}, {}});         // 表
  page.layers.push_back({"base", 1, {2, 2, 2, 1, 1, 1}, {}, {}});
  d.pages = {page, page};
  return test::WriteDocumentFile(d);
}

std::vector<Sample> Samples() {
  std::vector<Sample> samples;
  for (const char* name :
       {"sprite.pel", "landscape-24bit.pel", "mushroom-bank.pel", "cottage-legacy.pel"})
    samples.push_back({name, ReadWhole(std::string("Z:") + PELO_SAMPLES_DIR + "/" + name)});
  samples.push_back({"named fixture", NamedFixture()});
  for (test::DigestFixture& f : test::DigestFixtures()) samples.push_back({f.name, f.bytes});
  return samples;
}

Bytes TakeHostBlock(HLOCAL block) {
  auto lock = [](HLOCAL b) { return ::LocalLock(b); };
  auto free = [](HLOCAL b) { EXPECT_EQ(::LocalFree(b), nullptr) << "LocalFree failed"; };
  return test::CopyOutAndFree(block, ::LocalSize, lock, ::LocalUnlock, free);
}

// What a host keeps of one record, names as code page 932 bytes.
struct Listed {
  std::string method;
  ULONG_PTR position = 0;
  ULONG_PTR compsize = 0;
  ULONG_PTR filesize = 0;
  std::string path;
  std::string filename;
  bool operator==(const Listed&) const = default;
};

std::string Cp932(const wchar_t* text) {
  char bytes[1024] = {};
  ::WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

template <typename Char>
Listed KeptOf(const HostFileInfo<Char>& info) {
  Listed l;
  l.method.assign(reinterpret_cast<const char*>(info.method),
                  strnlen(reinterpret_cast<const char*>(info.method), 8));
  l.position = info.position;
  l.compsize = info.compsize;
  l.filesize = info.filesize;
  if constexpr (sizeof(Char) == 1) {
    l.path.assign(info.path, strnlen(info.path, 200));
    l.filename.assign(info.filename, strnlen(info.filename, 200));
  } else {
    l.path = Cp932(info.path);
    l.filename = Cp932(info.filename);
  }
  return l;
}

// The records up to the one whose method[0] is 0, which must lie in the
// block; the block is freed as a host frees it.
template <typename Char>
std::vector<Listed> TakeList(HLOCAL block) {
  const Bytes bytes = TakeHostBlock(block);
  std::vector<Listed> list;
  const std::size_t count = bytes.size() / sizeof(HostFileInfo<Char>);
  for (std::size_t i = 0; i < count; ++i) {
    HostFileInfo<Char> info;
    std::memcpy(&info, bytes.data() + i * sizeof info, sizeof info);
    if (info.method[0] == 0) return list;
    list.push_back(KeptOf(info));
  }
  ADD_FAILURE() << "the list has no end record";
  return list;
}

// What the core lists and draws for the same bytes.
struct Expected {
  std::vector<Listed> list;
  std::vector<Bytes> pictures;  // header, colour table and rows
  int currentPage = -1;
};

// The builder's picture for an entry; a page without area has headers only.
Bytes PictureOf(const CImageDocument& document, const PictureChoice& choice) {
  PicturePlan plan;
  EXPECT_EQ(PlanPicture(document, choice, &plan), kResultSuccess);
  Bytes picture(plan.headerBytes + plan.pixelBytes);
  DrawPicture(plan, picture.data(), picture.data() + plan.headerBytes);
  return picture;
}

// Empty when the core refuses the file, as the module then must.
Expected ExpectedOf(const Bytes& bytes) {
  Expected e;
  CMemFile file(bytes.data(), bytes.size());
  CImageDocument document;
  std::vector<ArchiveEntry> entries;
  try {
    if (CPictureLoader(file).Load(&document) != kResultSuccess) return e;
  } catch (const CException&) {
    return e;
  }
  if (ListArchiveEntries(document, &entries) != kResultSuccess) return e;
  e.currentPage = document.pages.currentIndex;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    e.list.push_back({"BMP", i, entries[i].fileBytes, entries[i].fileBytes,
                      entries[i].folder + "\\", entries[i].fileName});
    e.pictures.push_back(PictureOf(document, entries[i].choice));
  }
  return e;
}

// A folder in the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name) : path_(TempFile::TempFolder() + name) {
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    WIN32_FIND_DATAW found;
    const std::wstring wide = Wide();
    HANDLE h = ::FindFirstFileW((wide + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do ::DeleteFileW((wide + L"\\" + found.cFileName).c_str());
      while (::FindNextFileW(h, &found));
      ::FindClose(h);
    }
    ::RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::wstring Wide() const { return std::wstring(path_.begin(), path_.end()); }
  // The file that an entry of this name (code page 932) became.
  Bytes Read(const std::string& cp932Name) const {
    wchar_t name[400] = {};
    ::MultiByteToWideChar(932, 0, cp932Name.c_str(), -1, name, 400);
    HANDLE h = ::CreateFileW((Wide() + L"\\" + name).c_str(), GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    Bytes bytes(::GetFileSize(h, nullptr));
    DWORD read = 0;
    ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(h);
    return bytes;
  }

 private:
  std::string path_;
};

class ArchiveHost : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(archive_.Loaded()) << "cannot load " << ProgramFolder(); }

  std::vector<Listed> List(LPCSTR source, LONG_PTR positionOrSize, unsigned flag, int* result) {
    HLOCAL list = reinterpret_cast<HLOCAL>(1);
    *result = archive_.getArchiveInfo(source, positionOrSize, flag, &list);
    if (*result != 0) {
      EXPECT_EQ(list, nullptr) << "a list after a failure";
      return {};
    }
    return TakeList<char>(list);
  }
  std::vector<Listed> ListW(LPCWSTR source, LONG_PTR positionOrSize, unsigned flag, int* result) {
    HLOCAL list = reinterpret_cast<HLOCAL>(1);
    *result = archive_.getArchiveInfoW(source, positionOrSize, flag, &list);
    if (*result != 0) {
      EXPECT_EQ(list, nullptr) << "a list after a failure";
      return {};
    }
    return TakeList<wchar_t>(list);
  }
  Bytes Extract(LPCSTR source, LONG_PTR position, int* result) {
    HLOCAL file = reinterpret_cast<HLOCAL>(1);
    *result =
        archive_.getFile(source, position, reinterpret_cast<LPSTR>(&file), kMemoryDest, nullptr, 0);
    if (*result != 0) {
      EXPECT_EQ(file, nullptr) << "a block after a failure";
      return {};
    }
    return TakeHostBlock(file);
  }
  Bytes ExtractW(LPCWSTR source, LONG_PTR position) {
    HLOCAL file = nullptr;
    EXPECT_EQ(archive_.getFileW(source, position, reinterpret_cast<LPWSTR>(&file), kMemoryDest,
                                nullptr, 0),
              0);
    return file != nullptr ? TakeHostBlock(file) : Bytes();
  }

  ArchiveModule archive_;
};

TEST_F(ArchiveHost, ItIsAnArchivePluginWithoutSettings) {
  char buffer[100] = {};
  EXPECT_EQ(archive_.getPluginInfo(0, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "00AM");
  wchar_t wide[100] = {};
  EXPECT_EQ(archive_.getPluginInfoW(0, wide, 100), 5);
  EXPECT_STREQ(wide, L"00AM");
  EXPECT_EQ(archive_.getPluginInfo(2, buffer, sizeof buffer), 6);
  EXPECT_STREQ(buffer, "*.pel");
  EXPECT_EQ(archive_.configurationDlg(nullptr, 0), -1);
  EXPECT_EQ(archive_.configurationDlg(nullptr, 1), -1);
}

TEST_F(ArchiveHost, EverySampleListsAndExtractsEveryEntryEveryWay) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const Expected expected = ExpectedOf(sample.bytes);
    TempFile file("archive sample.pel", sample.bytes);
    WideTempFile wideFile(L"archive \u5263.pel", sample.bytes);
    ASSERT_TRUE(file.Ok() && wideFile.Ok());
    const auto* memory = reinterpret_cast<LPCSTR>(sample.bytes.data());
    const auto size = static_cast<LONG_PTR>(sample.bytes.size());

    int result = -99;
    const std::vector<Listed> list = List(file.Path().c_str(), 0, 0, &result);
    if (expected.list.empty()) {
      EXPECT_NE(result, 0);
      continue;
    }
    ASSERT_EQ(result, 0);
    EXPECT_EQ(list, expected.list);
    EXPECT_EQ(List(memory, size, kMemorySource, &result), expected.list);
    EXPECT_EQ(ListW(wideFile.Path().c_str(), 0, 0, &result), expected.list);
    EXPECT_EQ(ListW(reinterpret_cast<LPCWSTR>(memory), size, kMemorySource, &result),
              expected.list);

    TempFolder folder("archive entries");
    for (std::size_t i = 0; i < list.size(); ++i) {
      SCOPED_TRACE(list[i].path + list[i].filename);
      const Bytes entry = Extract(file.Path().c_str(), static_cast<LONG_PTR>(i), &result);
      ASSERT_EQ(result, 0);
      ASSERT_EQ(entry.size(), list[i].filesize);
      ASSERT_GT(entry.size(), 14u);
      EXPECT_EQ(entry[0], 'B');
      EXPECT_EQ(entry[1], 'M');
      EXPECT_EQ(Bytes(entry.begin() + 14, entry.end()), expected.pictures[i]);
      EXPECT_EQ(ExtractW(wideFile.Path().c_str(), static_cast<LONG_PTR>(i)), entry);

      std::string dest = folder.Path();
      EXPECT_EQ(archive_.getFile(file.Path().c_str(), static_cast<LONG_PTR>(i), dest.data(), 0,
                                 nullptr, 0),
                0);
      EXPECT_EQ(folder.Read(list[i].filename), entry);
      ::DeleteFileA((folder.Path() + "\\" + list[i].filename).c_str());
      std::wstring wideDest = folder.Wide();
      EXPECT_EQ(archive_.getFileW(wideFile.Path().c_str(), static_cast<LONG_PTR>(i),
                                  wideDest.data(), 0, nullptr, 0),
                0);
      EXPECT_EQ(folder.Read(list[i].filename), entry);

      HostFileInfoA info{};
      std::string name = list[i].path + list[i].filename;
      EXPECT_EQ(archive_.getFileInfo(memory, size, name.c_str(), kMemorySource, &info), 0);
      EXPECT_EQ(KeptOf(info), list[i]);
    }
  }
}

// The picture of the current page, with its visible layers or every layer,
// is what the import module shows for the file.
TEST_F(ArchiveHost, PictureEntriesAreTheImportModulesPictures) {
  PluginModule picture;
  ASSERT_TRUE(picture.Loaded());
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const Expected expected = ExpectedOf(sample.bytes);
    if (expected.list.empty() || expected.currentPage < 0) continue;
    const auto* memory = reinterpret_cast<LPCSTR>(sample.bytes.data());
    const auto size = static_cast<LONG_PTR>(sample.bytes.size());
    char folder[16];
    std::snprintf(folder, sizeof folder, "%03d", expected.currentPage + 1);
    for (int bond : {0, 1}) {
      ASSERT_TRUE(::WritePrivateProfileStringA("Config", "LayerBond", std::to_string(bond).c_str(),
                                               picture.IniPath().c_str()));
      HLOCAL header = nullptr, pixels = nullptr;
      if (picture.getPicture(memory, size, kMemorySource, &header, &pixels, nullptr, 0) != 0)
        continue;
      Bytes shown = TakeHostBlock(header);
      const Bytes rows = TakeHostBlock(pixels);
      shown.insert(shown.end(), rows.begin(), rows.end());
      const char* entryName = bond == 0 ? "picture.bmp" : "all layers.bmp";
      std::size_t found = 0;
      for (; found < expected.list.size(); ++found) {
        const Listed& l = expected.list[found];
        if (l.path.rfind(folder, 0) == 0 && l.filename == entryName) break;
      }
      ASSERT_LT(found, expected.list.size()) << entryName;
      EXPECT_EQ(expected.pictures[found], shown) << entryName;
    }
  }
  ::WritePrivateProfileStringA("Config", "LayerBond", "0", picture.IniPath().c_str());
}

TEST_F(ArchiveHost, NamesAreTheDocumentsOwnInBothForms) {
  const Bytes bytes = NamedFixture();
  const auto* memory = reinterpret_cast<LPCSTR>(bytes.data());
  HLOCAL list = nullptr;
  ASSERT_EQ(archive_.getArchiveInfoW(reinterpret_cast<LPCWSTR>(memory),
                                     static_cast<LONG_PTR>(bytes.size()), kMemorySource, &list),
            0);
  const Bytes records = TakeHostBlock(list);
  HostFileInfoW third;
  std::memcpy(&third, records.data() + 2 * sizeof third, sizeof third);
  EXPECT_STREQ(third.path, L"001 \u5263\\");
  EXPECT_STREQ(third.filename, L"layer 01 \u8868 a_b (hidden).bmp");
  HostFileInfoW found{};
  EXPECT_EQ(archive_.getFileInfoW(
                reinterpret_cast<LPCWSTR>(memory), static_cast<LONG_PTR>(bytes.size()),
                L"002 \u5263\\PALETTE 02 \u591C.BMP", kMemorySource | kIgnoreCase, &found),
            0);
  EXPECT_STREQ(found.filename, L"palette 02 \u591C.bmp");
  EXPECT_EQ(
      archive_.getFileInfoW(reinterpret_cast<LPCWSTR>(memory), static_cast<LONG_PTR>(bytes.size()),
                            L"002 \u5263\\PALETTE 02 \u591C.BMP", kMemorySource, &found),
      8);
}

TEST_F(ArchiveHost, BadAndHostileFilesGiveAnErrorAndNoList) {
  std::vector<Bytes> files = {Bytes(), Bytes(40, 'x'), Bytes{'P', 'E', 'L', 'O'}};
  for (const test::HostileFile& f : test::HostileFiles()) files.push_back(f.bytes);
  for (const Bytes& bytes : files) {
    int result = -99;
    const auto* memory = reinterpret_cast<LPCSTR>(bytes.data());
    const std::vector<Listed> list =
        List(memory, static_cast<LONG_PTR>(bytes.size()), kMemorySource, &result);
    if (result != 0) continue;
    // A hostile file that loads lists entries that all extract.
    TempFile file("archive hostile.pel", bytes);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const Bytes entry = Extract(file.Path().c_str(), static_cast<LONG_PTR>(i), &result);
      if (result == 0) {
        EXPECT_EQ(entry.size(), list[i].filesize);
      }
    }
  }
  int result = -99;
  List("Z:\\no such folder\\missing.pel", 0, 0, &result);
  EXPECT_EQ(result, 6);
  List(reinterpret_cast<LPCSTR>(files[1].data()), 40, kMemorySource, &result);
  EXPECT_EQ(result, 8);
  HLOCAL list = reinterpret_cast<HLOCAL>(1);
  EXPECT_NE(archive_.getArchiveInfo(nullptr, 0, kMemorySource, &list), 0);
  EXPECT_EQ(list, nullptr);
}

TEST_F(ArchiveHost, GetFileRefusesWhatNamesNoEntry) {
  const Bytes bytes = NamedFixture();
  TempFile file("archive named.pel", bytes);
  int result = -99;
  for (LONG_PTR position : {LONG_PTR{-1}, LONG_PTR{1000}}) {
    Extract(file.Path().c_str(), position, &result);
    EXPECT_EQ(result, 8) << position;
  }
  // A memory source gives the document but cannot name an entry.
  HLOCAL block = nullptr;
  EXPECT_EQ(
      archive_.getFile(reinterpret_cast<LPCSTR>(bytes.data()), static_cast<LONG_PTR>(bytes.size()),
                       reinterpret_cast<LPSTR>(&block), kMemoryDest | kMemorySource, nullptr, 0),
      -1);
  EXPECT_EQ(block, nullptr);
  char missing[] = "Z:\\no such folder";
  EXPECT_EQ(archive_.getFile(file.Path().c_str(), 0, missing, 0, nullptr, 0), 6);
}

}  // namespace
}  // namespace pelo::wine
