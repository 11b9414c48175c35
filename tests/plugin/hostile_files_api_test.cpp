// Hostile files through the exports: each gives its result code, with no
// crash and no picture left behind after a failure. The work each one can
// cause is bounded by the call's limits, which hostile_files_test.cpp
// measures.
#include <gtest/gtest.h>

#include "plugin/api_host.h"
#include "support/hostile_files.h"

namespace pelo {
namespace {

TEST(HostileFiles, EveryFileGivesItsResultCode) {
  test::RemoveSettings();
  for (const test::HostileFile& f : test::HostileFiles()) {
    SCOPED_TRACE(f.what);
    PictureInfo info{};
    EXPECT_EQ(test::GetInfoFromMemory(f.bytes, &info), f.info);
    test::Dib dib;
    EXPECT_EQ(test::GetPictureFromMemory(f.bytes, &dib), f.picture);
  }
}

TEST(HostileFiles, DiskFilesGiveTheSameCodes) {
  test::RemoveSettings();
  const std::string path = test::TempPath("hostile.pel");
  for (const test::HostileFile& f : test::HostileFiles()) {
    SCOPED_TRACE(f.what);
    test::WriteFile(path, f.bytes);
    PictureInfo info{};
    EXPECT_EQ(GetPictureInfo(path.c_str(), 0, 0, &info), f.info);
    SpiLocalHandle header = nullptr;
    SpiLocalHandle pixels = nullptr;
    const int result = GetPicture(path.c_str(), 0, 0, &header, &pixels, nullptr, 0);
    EXPECT_EQ(result, f.picture);
    if (result == 0) {
      test::TakeModuleBlock(header);
      test::TakeModuleBlock(pixels);
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace pelo
