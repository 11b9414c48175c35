// The bundled sample files, drawn in code and written with the project's
// own writer, so that they can be made again byte for byte.
#pragma once

#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::tools {

struct SampleFile {
  std::string name;
  test::Bytes bytes;
};

// A current-format 8-bit sprite with named layers (one hidden), a bank-mode
// picture, a 24-bit landscape and a legacy file with run-insertion blocks.
std::vector<SampleFile> MakeSamples();

}  // namespace pelo::tools
