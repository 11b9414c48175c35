// Files a user can honestly have whose pictures are large next to the bytes
// that describe them: legacy layers stored as one run each, current-format
// layers that no pixel record fills. Each opens from both calls and shows,
// everywhere, the value of its topmost opaque layer (or the background).
// Shared by the entry-point tests and the picture digests that hold the
// Windows DLLs to the same pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::test {

struct HonestFile {
  std::string what;
  Bytes bytes;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t value = 0;  // every pixel of the 8-bit picture
};

std::vector<HonestFile> HonestFiles();

}  // namespace pelo::test
