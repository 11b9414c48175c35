#include "scaled_picture.h"

#include <algorithm>
#include <cstring>

namespace pelo::tools {

namespace {

int CeilDiv(int a, int b) {
  return a / b + (a % b != 0 ? 1 : 0);
}

}  // namespace

ScaledPicture::ScaledPicture(const PictureRows& source, int side) : source_(source) {
  const int longest = std::max(source.width(), source.height());
  if (longest <= side) {
    enlarge_ = side / longest;
    width_ = source.width() * enlarge_;
    height_ = source.height() * enlarge_;
  } else {
    step_ = CeilDiv(longest, side);
    width_ = CeilDiv(source.width(), step_);
    height_ = CeilDiv(source.height(), step_);
  }
  Fill();
}

void ScaledPicture::Fill() {
  const std::size_t pixelBytes = static_cast<std::size_t>(bitsPerPixel() / 8);
  rowBytes_ = static_cast<std::size_t>(width_) * pixelBytes;
  pixels_.resize(rowBytes_ * static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* from = source_.Row(SourceIndex(y));
    std::uint8_t* to = pixels_.data() + rowBytes_ * static_cast<std::size_t>(y);
    for (int x = 0; x < width_; ++x)
      std::memcpy(to + pixelBytes * static_cast<std::size_t>(x),
                  from + pixelBytes * static_cast<std::size_t>(SourceIndex(x)), pixelBytes);
  }
}

const std::uint8_t* ScaledPicture::Row(int y) const {
  return pixels_.data() + rowBytes_ * static_cast<std::size_t>(y);
}

}  // namespace pelo::tools
