#include "support/picture_digest.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/honest_files.h"
#include "support/hostile_files.h"

namespace pelo::test {

namespace {

namespace fs = std::filesystem;

unsigned long Crc(const Bytes& bytes) {
  return crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
}

}  // namespace

fs::path SourceDirectory() {
  std::string here = __FILE__;
#ifdef _WIN32
  if (!here.empty() && here[0] == '/') here = "Z:" + here;  // wine's view of the build machine
#endif
  return fs::path(here).parent_path().parent_path().parent_path();
}

fs::path GoldenDigestPath() {
  return SourceDirectory() / "tests" / "support" / "picture_digests.txt";
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<DigestFixture> DigestFixtures() {
  std::vector<DigestFixture> fixtures;
  std::vector<fs::path> samples;
  for (const auto& entry : fs::directory_iterator(SourceDirectory() / "samples"))
    if (entry.path().extension() == ".pel") samples.push_back(entry.path());
  std::sort(samples.begin(), samples.end());
  for (const fs::path& path : samples) {
    const std::string text = ReadWholeFile(path);
    fixtures.push_back({"samples/" + path.filename().string(), Bytes(text.begin(), text.end())});
  }
  for (const HostileFile& f : HostileFiles()) fixtures.push_back({"hostile: " + f.what, f.bytes});
  for (const HonestFile& f : HonestFiles()) fixtures.push_back({"honest: " + f.what, f.bytes});
  return fixtures;
}

std::string DigestLine(const std::string& name, int layerBond, const PictureOutcome& o) {
  char line[160];
  std::snprintf(line, sizeof line, " | LayerBond=%d | info %d %dx%dx%d | picture %d %08lx %08lx\n",
                layerBond, o.info, o.width, o.height, o.depth, o.picture, Crc(o.header),
                Crc(o.pixels));
  return name + line;
}

}  // namespace pelo::test
