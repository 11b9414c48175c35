// Small files made to hurt a reader: sizes, counts and lengths at their
// limits with nothing behind them. The table is shared by the entry-point
// tests (every file gives its result code, natively and as Windows code)
// and the budget tests (what each one makes the module allocate).
#pragma once

#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::test {

struct HostileFile {
  std::string what;
  Bytes bytes;
  bool legacy = false;
  int info = 0;     // GetPictureInfo's result
  int picture = 0;  // GetPicture's result
  bool large = false;  // opens a picture of hundreds of MiB
};

std::vector<HostileFile> HostileFiles();

}  // namespace pelo::test
