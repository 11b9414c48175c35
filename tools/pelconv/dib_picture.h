// The picture that GetPicture hands over: a header-and-colour-table block and
// a pixel block of the plug-in's local heap. This view owns both, keeps them
// locked while it lives, and frees them through the module as a host does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "picture_rows.h"
#include "plugin_module.h"

namespace pelo::tools {

class DibPicture : public PictureRows {
 public:
  static constexpr std::size_t kHeaderBytes = 40;

  // Takes over both handles, whatever happens next.
  DibPicture(const PluginModule& module, SpiLocalHandle header, SpiLocalHandle pixels);
  DibPicture(const DibPicture&) = delete;
  DibPicture& operator=(const DibPicture&) = delete;
  ~DibPicture() override;

  // Locks both blocks and checks that the header describes an uncompressed
  // bottom-up picture of 8 or 24 bits that fits in the blocks. False with a
  // reason in error() otherwise.
  bool Open();
  const std::string& error() const { return error_; }

  int width() const override { return width_; }
  int height() const override { return height_; }
  int bitsPerPixel() const override { return bitsPerPixel_; }
  // Bytes from one row to the next in the pixel block: padded to 4 bytes.
  std::size_t stride() const { return stride_; }
  // Row y counted from the top of the picture (the block stores it bottom-up).
  const std::uint8_t* Row(int y) const override;
  PaletteEntry Color(int i) const override;

 private:
  bool Fail(std::string reason);
  bool ReadHeader();

  const PluginModule& module_;
  SpiLocalHandle headerHandle_;
  SpiLocalHandle pixelHandle_;
  const std::uint8_t* header_ = nullptr;
  const std::uint8_t* pixels_ = nullptr;
  std::string error_;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::size_t stride_ = 0;
};

}  // namespace pelo::tools
