// Pictures compared as the desktop shows them: red, green, blue rows from
// the top, whatever form the file stored them in; and the two ways a
// thumbnail may enlarge or reduce pixel art without inventing colours.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace pelo::desktop::test {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // three bytes a pixel

  bool operator==(const RgbPicture&) const = default;
  std::set<std::tuple<int, int, int>> Colors() const;
};

// Throws std::runtime_error for a file that is no PNG.
RgbPicture ReadPngAsRgb(const std::string& path);

// pelconv's thumbnail rule, restated: the largest whole enlargement that fits
// the square, or every n-th pixel for the smallest whole n that fits.
RgbPicture WholeFactorThumbnail(const RgbPicture& picture, int side);
// Nearest neighbour to any size: pixel (x, y) comes from (x * w / W, y * h / H).
RgbPicture NearestNeighbour(const RgbPicture& picture, int width, int height);

}  // namespace pelo::desktop::test
