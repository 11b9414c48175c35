// A PNG read back with libpng exactly as stored: colour type, palette and
// rows, without any conversion; and the same form made from a plug-in
// picture, so the two can be compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dib_picture.h"

namespace pelo::tools::test {

struct Raster {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;               // 8: indices; 24: red, green, blue
  std::vector<PaletteEntry> palette;  // 8 bits only
  std::vector<std::uint8_t> pixels;   // rows from the top, no padding

  bool operator==(const Raster&) const = default;
};

// Throws std::runtime_error when the file is no PNG of 8-bit palette or RGB.
Raster ReadPng(const std::string& path);
Raster FromDib(const DibPicture& picture);

}  // namespace pelo::tools::test
