// What every build must give for the same files: the samples, the hostile
// and the honest files, each through GetPictureInfo and GetPicture in both
// layer modes, kept as one line per file and mode (results, size, depth and
// CRC-32s of the two blocks) in tests/support/picture_digests.txt. The native module, the 32-bit
// DLL and the 64-bit DLL are each held to that file, so they give the same
// pictures as each other.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::test {

struct PictureOutcome {
  int info = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int picture = 0;
  Bytes header;
  Bytes pixels;

  bool operator==(const PictureOutcome&) const = default;
};

struct DigestFixture {
  std::string name;
  Bytes bytes;
};

std::vector<DigestFixture> DigestFixtures();
std::string DigestLine(const std::string& name, int layerBond, const PictureOutcome& outcome);

// The source tree as the running program sees it (through wine's Z: drive
// for Windows builds).
std::filesystem::path SourceDirectory();
std::filesystem::path GoldenDigestPath();
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace pelo::test
