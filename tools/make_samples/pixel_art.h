// Pictures drawn as rows of characters, one character per pixel, each
// mapped through a legend to a palette index: pixel art that reads in code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::tools {

using Legend = std::map<char, std::uint8_t>;

class PixelArt {
 public:
  // Rows of equal length; a character missing from the legend, or rows of
  // different lengths, raise std::invalid_argument.
  PixelArt(const std::vector<std::string>& rows, const Legend& legend);

  int width() const { return width_; }
  int height() const { return height_; }
  // Palette indices, rows from the top, no padding.
  const test::Bytes& pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  test::Bytes pixels_;
};

// Rows of a picture that is empty ('.') outside the given rows, which start
// at row top.
std::vector<std::string> Placed(int width, int height, int top,
                                const std::vector<std::string>& rows);

}  // namespace pelo::tools
