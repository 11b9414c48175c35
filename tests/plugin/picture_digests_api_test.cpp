// Every sample, hostile and honest file gives the committed pictures, from memory and
// from disk. The same file holds the Windows DLLs to the same pictures
// (tests/wine/host_test.cpp); after a deliberate change of what a file gives,
// picture_digests.actual in the test's working folder is the new table.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "plugin/api_host.h"
#include "support/picture_digest.h"

namespace pelo {
namespace {

test::PictureOutcome FromMemory(const test::Bytes& bytes) {
  test::PictureOutcome o;
  PictureInfo info{};
  o.info = test::GetInfoFromMemory(bytes, &info);
  if (o.info == 0) {
    o.width = info.width;
    o.height = info.height;
    o.depth = info.colorDepth;
  }
  test::Dib dib;
  o.picture = test::GetPictureFromMemory(bytes, &dib);
  o.header = dib.header;
  o.pixels = dib.pixels;
  return o;
}

test::PictureOutcome FromDisk(const std::string& path) {
  test::PictureOutcome o;
  PictureInfo info{};
  o.info = GetPictureInfo(path.c_str(), 0, 0, &info);
  if (o.info == 0) {
    o.width = info.width;
    o.height = info.height;
    o.depth = info.colorDepth;
  }
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  o.picture = GetPicture(path.c_str(), 0, 0, &header, &pixels, nullptr, 0);
  if (o.picture == 0) {
    o.header = test::TakeModuleBlock(header);
    o.pixels = test::TakeModuleBlock(pixels);
  }
  return o;
}

TEST(PictureDigests, EveryFileGivesTheCommittedPictures) {
  const std::string path = test::TempPath("digest.pel");
  std::string actual;
  for (int layerBond : {0, 1}) {
    test::SetLayerBond(layerBond == 0 ? "0" : "1");
    for (const test::DigestFixture& f : test::DigestFixtures()) {
      SCOPED_TRACE(f.name);
      const test::PictureOutcome memory = FromMemory(f.bytes);
      test::WriteFile(path, f.bytes);
      EXPECT_TRUE(FromDisk(path) == memory) << "disk and memory sources differ";
      actual += test::DigestLine(f.name, layerBond, memory);
    }
  }
  test::RemoveSettings();
  std::remove(path.c_str());
  std::ofstream("picture_digests.actual", std::ios::binary) << actual;
  EXPECT_EQ(actual, test::ReadWholeFile(test::GoldenDigestPath()));
}

}  // namespace
}  // namespace pelo
