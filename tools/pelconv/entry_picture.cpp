#include "entry_picture.h"

#include <cstring>

namespace pelo::tools {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, sizeof v);
  return v;
}

}  // namespace

bool EntryPicture::Open() {
  if (file_.size() < kFileHeaderBytes + kInfoHeaderBytes || file_[0] != 'B' || file_[1] != 'M') {
    error_ = "the entry is not a BMP file";
    return false;
  }
  const std::size_t info = kFileHeaderBytes;
  const auto width = static_cast<std::int32_t>(Le32(file_, info + 4));
  const auto height = static_cast<std::int32_t>(Le32(file_, info + 8));
  bitsPerPixel_ = file_[info + 14];
  const std::uint32_t compression = Le32(file_, info + 16);
  if (width < 0 || height < 0 || compression != 0 || (bitsPerPixel_ != 8 && bitsPerPixel_ != 24)) {
    error_ = "the entry is not an uncompressed bottom-up picture of 8 or 24 bits";
    return false;
  }
  width_ = width;
  height_ = height;
  table_ = info + kInfoHeaderBytes;
  bits_ = Le32(file_, 10);
  stride_ = (static_cast<std::size_t>(width_) * static_cast<std::size_t>(bitsPerPixel_ / 8) + 3) &
            ~static_cast<std::size_t>(3);
  const std::size_t tableEnd = table_ + (bitsPerPixel_ == 8 ? 4 * kTableEntries : 0);
  if (bits_ < tableEnd || bits_ > file_.size() ||
      (file_.size() - bits_) / (stride_ == 0 ? 1 : stride_) < static_cast<std::size_t>(height_)) {
    error_ = "the entry's BMP file is shorter than its picture";
    return false;
  }
  return true;
}

const std::uint8_t* EntryPicture::Row(int y) const {
  return file_.data() + bits_ + stride_ * static_cast<std::size_t>(height_ - 1 - y);
}

PaletteEntry EntryPicture::Color(int i) const {
  const std::uint8_t* entry = file_.data() + table_ + 4 * static_cast<std::size_t>(i);
  return {entry[2], entry[1], entry[0]};
}

}  // namespace pelo::tools
