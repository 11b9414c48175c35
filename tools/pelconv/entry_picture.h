// An archive entry's BMP file as the PNG encoder reads it: the file header,
// the 40-byte header with its colour table at 8 bits, bottom-up rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture_rows.h"

namespace pelo::tools {

class EntryPicture : public PictureRows {
 public:
  explicit EntryPicture(std::vector<std::uint8_t> file) : file_(std::move(file)) {}

  // Checks that the file describes an uncompressed bottom-up picture of 8
  // or 24 bits that it holds whole. False with a reason in error().
  bool Open();
  const std::string& error() const { return error_; }

  int width() const override { return width_; }
  int height() const override { return height_; }
  int bitsPerPixel() const override { return bitsPerPixel_; }
  const std::uint8_t* Row(int y) const override;
  PaletteEntry Color(int i) const override;

 private:
  std::vector<std::uint8_t> file_;
  std::string error_;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::size_t table_ = 0;
  std::size_t bits_ = 0;
  std::size_t stride_ = 0;
};

}  // namespace pelo::tools
