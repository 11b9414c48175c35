#include "rgb_picture.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace pelo::desktop::test {

namespace {

class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  png_image* get() { return &image_; }

 private:
  png_image image_;
};

// from(i, source length, target length): the source index of target index i.
RgbPicture Sampled(const RgbPicture& picture, int width, int height,
                   const std::function<int(int, int, int)>& from) {
  RgbPicture out{width, height, {}};
  for (int y = 0; y < height; ++y) {
    const int sourceY = from(y, picture.height, height);
    for (int x = 0; x < width; ++x) {
      const int sourceX = from(x, picture.width, width);
      const auto at = (static_cast<std::size_t>(sourceY) * picture.width + sourceX) * 3;
      out.rgb.insert(out.rgb.end(), picture.rgb.begin() + at, picture.rgb.begin() + at + 3);
    }
  }
  return out;
}

}  // namespace

std::set<std::tuple<int, int, int>> RgbPicture::Colors() const {
  std::set<std::tuple<int, int, int>> colors;
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
    colors.insert({rgb[i], rgb[i + 1], rgb[i + 2]});
  return colors;
}

RgbPicture ReadPngAsRgb(const std::string& path) {
  PngImage image;
  if (!png_image_begin_read_from_file(image.get(), path.c_str()))
    throw std::runtime_error(path + " is no PNG");
  image.get()->format = PNG_FORMAT_RGB;
  RgbPicture picture;
  picture.width = static_cast<int>(image.get()->width);
  picture.height = static_cast<int>(image.get()->height);
  picture.rgb.resize(PNG_IMAGE_SIZE(*image.get()));
  if (!png_image_finish_read(image.get(), nullptr, picture.rgb.data(), 0, nullptr))
    throw std::runtime_error(path + " cannot be decoded");
  return picture;
}

RgbPicture WholeFactorThumbnail(const RgbPicture& picture, int side) {
  const int longest = std::max(picture.width, picture.height);
  if (longest <= side) {
    const int factor = side / longest;
    return Sampled(picture, picture.width * factor, picture.height * factor,
                   [](int i, int from, int to) { return i / (to / from); });
  }
  const int step = (longest + side - 1) / side;
  const auto reduced = [step](int length) { return (length + step - 1) / step; };
  return Sampled(picture, reduced(picture.width), reduced(picture.height),
                 [step](int i, int, int) { return i * step; });
}

RgbPicture NearestNeighbour(const RgbPicture& picture, int width, int height) {
  return Sampled(picture, width, height, [](int i, int from, int to) {
    return static_cast<int>(static_cast<long long>(i) * from / to);
  });
}

}  // namespace pelo::desktop::test
