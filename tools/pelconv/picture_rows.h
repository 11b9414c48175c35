// A picture as the PNG encoder reads it: rows from the top, 8-bit indices
// into a 256-entry colour table or 24-bit blue, green, red triples.
#pragma once

#include <cstdint>

namespace pelo::tools {

struct PaletteEntry {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const PaletteEntry&) const = default;
};

class PictureRows {
 public:
  static constexpr int kTableEntries = 256;

  virtual ~PictureRows() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual int bitsPerPixel() const = 0;
  // Row y counted from the top of the picture.
  virtual const std::uint8_t* Row(int y) const = 0;
  // Entry i of the colour table of an 8-bit picture.
  virtual PaletteEntry Color(int i) const = 0;
};

}  // namespace pelo::tools
