// Encodes a plug-in picture as PNG: an 8-bit picture as an indexed PNG with
// all 256 entries of its colour table, a 24-bit picture as RGB; rows top-down.
// Natively libpng does the work; a Windows build without libpng for its
// compiler uses a small encoder of its own over zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture_rows.h"

namespace pelo::tools {

class PngWriter {
 public:
  // The whole PNG file into png. False with a reason in error().
  bool Encode(const PictureRows& picture, std::vector<std::uint8_t>* png);
  const std::string& error() const { return error_; }

 private:
  std::string error_;
};

}  // namespace pelo::tools
