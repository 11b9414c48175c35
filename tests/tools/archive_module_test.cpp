// The archive module as a native host loads it: by path, through its
// exported names, its blocks freed with its own local-heap calls.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/spi_archive_api.h"
#include "pelconv_run.h"
#include "shared_library.h"
#include "support/hostile_files.h"
#include "support/taken_block.h"

namespace pelo::tools::test {
namespace {

namespace fs = std::filesystem;
using pelo::test::Bytes;

constexpr unsigned kMemorySource = 1;

class ArchiveModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Open(PELO_ARCHIVE_MODULE_PATH)) << library_.error();
    Resolve("GetPluginInfo", &getPluginInfo_);
    Resolve("GetArchiveInfo", &getArchiveInfo_);
    Resolve("GetFileInfo", &getFileInfo_);
    Resolve("GetFile", &getFile_);
    Resolve("LocalLock", &lock_);
    Resolve("LocalUnlock", &unlock_);
    Resolve("LocalFree", &free_);
    Resolve("LocalSize", &size_);
  }

  template <typename Fn>
  void Resolve(const char* name, Fn* fn) {
    *fn = reinterpret_cast<Fn>(library_.Symbol(name));
    ASSERT_NE(*fn, nullptr) << name;
  }

  Bytes Take(void* block) {
    return pelo::test::CopyOutAndFree(block, size_, lock_, unlock_, free_);
  }

  // The records before the end record.
  std::vector<ArchiveFileInfo> List(const Bytes& file, int* result) {
    void* list = reinterpret_cast<void*>(1);
    *result = getArchiveInfo_(reinterpret_cast<const char*>(file.data()),
                              static_cast<intptr_t>(file.size()), kMemorySource, &list);
    if (*result != 0) {
      EXPECT_EQ(list, nullptr);
      return {};
    }
    const Bytes bytes = Take(list);
    std::vector<ArchiveFileInfo> infos(bytes.size() / sizeof(ArchiveFileInfo));
    std::memcpy(infos.data(), bytes.data(), infos.size() * sizeof(ArchiveFileInfo));
    EXPECT_FALSE(infos.empty());
    EXPECT_EQ(infos.back().method[0], 0);
    infos.pop_back();
    return infos;
  }

  SharedLibrary library_;
  int (*getPluginInfo_)(int, char*, int) = nullptr;
  int (*getArchiveInfo_)(const char*, intptr_t, unsigned, SpiLocalHandle*) = nullptr;
  int (*getFileInfo_)(const char*, intptr_t, const char*, unsigned, ArchiveFileInfo*) = nullptr;
  int (*getFile_)(const char*, intptr_t, char*, unsigned, SpiProgressCallback, intptr_t) = nullptr;
  void* (*lock_)(void*) = nullptr;
  int (*unlock_)(void*) = nullptr;
  void* (*free_)(void*) = nullptr;
  size_t (*size_)(void*) = nullptr;
};

TEST_F(ArchiveModule, ListsAndExtractsTheSpriteIntoMemoryAndAFolder) {
  char version[8] = {};
  EXPECT_EQ(getPluginInfo_(0, version, sizeof version), 5);
  EXPECT_STREQ(version, "00AM");
  const fs::path sprite = fs::path(PELO_SAMPLES_DIR) / "sprite.pel";
  std::ifstream in(sprite, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int result = -99;
  const std::vector<ArchiveFileInfo> list = List(bytes, &result);
  ASSERT_EQ(result, 0);
  ASSERT_EQ(list.size(), 16u);
  EXPECT_STREQ(list[2].path, "001 Stand\\");
  EXPECT_STREQ(list[2].filename, "layer 01 Sword (hidden).bmp");
  ScratchFolder scratch;
  for (std::size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(list[i].filename);
    EXPECT_EQ(list[i].position, i);
    void* block = nullptr;
    ASSERT_EQ(getFile_(sprite.c_str(), static_cast<intptr_t>(i), reinterpret_cast<char*>(&block),
                       SPI_DEST_MEMORY, nullptr, 0),
              0);
    const Bytes entry = Take(block);
    EXPECT_EQ(entry.size(), list[i].filesize);
    std::string folder = scratch.path().string();
    ASSERT_EQ(getFile_(sprite.c_str(), static_cast<intptr_t>(i), folder.data(), 0, nullptr, 0), 0);
    // The sample's names are in code page 932; the folder's files in UTF-8.
    const std::vector<std::string> files = FilesIn(scratch.path());
    ASSERT_EQ(files.size(), 1u);
    std::ifstream written(scratch.path() / files[0], std::ios::binary);
    EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>()),
              entry);
    fs::remove(scratch.path() / files[0]);
  }
  ArchiveFileInfo info{};
  EXPECT_EQ(
      getFileInfo_(reinterpret_cast<const char*>(bytes.data()), static_cast<intptr_t>(bytes.size()),
                   "002 BLINK\\Picture.bmp", kMemorySource | SPI_IGNORE_CASE, &info),
      0);
  EXPECT_EQ(info.position, 8u);
}

TEST_F(ArchiveModule, HostileFilesGiveAnErrorOrAListWhoseEntriesAllExtract) {
  ScratchFolder scratch;
  for (const pelo::test::HostileFile& f : pelo::test::HostileFiles()) {
    SCOPED_TRACE(f.what);
    int result = -99;
    const std::vector<ArchiveFileInfo> list = List(f.bytes, &result);
    if (result != 0) continue;
    const fs::path path = scratch.path() / "hostile.pel";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(f.bytes.data()),
               static_cast<std::streamsize>(f.bytes.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
      void* block = nullptr;
      if (getFile_(path.c_str(), static_cast<intptr_t>(i), reinterpret_cast<char*>(&block),
                   SPI_DEST_MEMORY, nullptr, 0) != 0) {
        EXPECT_EQ(block, nullptr);
        continue;
      }
      EXPECT_EQ(Take(block).size(), list[i].filesize);
    }
  }
}

}  // namespace
}  // namespace pelo::tools::test
