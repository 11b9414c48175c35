#include "dib_picture.h"

#include <cstring>

namespace pelo::tools {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

DibPicture::DibPicture(const PluginModule& module, SpiLocalHandle header, SpiLocalHandle pixels)
    : module_(module), headerHandle_(header), pixelHandle_(pixels) {}

DibPicture::~DibPicture() {
  if (header_ != nullptr) module_.Unlock(headerHandle_);
  if (pixels_ != nullptr) module_.Unlock(pixelHandle_);
  module_.Free(headerHandle_);
  module_.Free(pixelHandle_);
}

bool DibPicture::Fail(std::string reason) {
  error_ = "the plug-in returned an unusable picture: " + std::move(reason);
  return false;
}

bool DibPicture::Open() {
  header_ = static_cast<const std::uint8_t*>(module_.Lock(headerHandle_));
  pixels_ = static_cast<const std::uint8_t*>(module_.Lock(pixelHandle_));
  if (header_ == nullptr || pixels_ == nullptr) return Fail("a block cannot be locked");
  return ReadHeader();
}

bool DibPicture::ReadHeader() {
  const std::size_t headerSize = module_.Size(headerHandle_);
  if (headerSize < kHeaderBytes || Le32(header_) != kHeaderBytes)
    return Fail("no 40-byte bitmap header");
  const auto width = static_cast<std::int32_t>(Le32(header_ + 4));
  const auto height = static_cast<std::int32_t>(Le32(header_ + 8));
  const int bits = Le16(header_ + 14);
  if (width <= 0 || height <= 0) return Fail("only bottom-up pictures with a size are supported");
  if (bits != 8 && bits != 24) return Fail(std::to_string(bits) + " bits per pixel");
  if (Le32(header_ + 16) != 0) return Fail("compressed pixels");
  if (bits == 8 && headerSize < kHeaderBytes + 4 * kTableEntries) return Fail("no colour table");
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bits;
  stride_ =
      (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits / 8) + 3) & ~std::size_t{3};
  if (module_.Size(pixelHandle_) < stride_ * static_cast<std::size_t>(height))
    return Fail("the pixel block is smaller than the header says");
  return true;
}

const std::uint8_t* DibPicture::Row(int y) const {
  return pixels_ + static_cast<std::size_t>(height_ - 1 - y) * stride_;
}

PaletteEntry DibPicture::Color(int i) const {
  const std::uint8_t* entry = header_ + kHeaderBytes + 4 * static_cast<std::size_t>(i);
  return PaletteEntry{entry[2], entry[1], entry[0]};
}

}  // namespace pelo::tools
