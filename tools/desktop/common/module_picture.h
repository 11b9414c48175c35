// A .pel file handed over as bytes, decoded by the plug-in module as a
// viewer's memory source and turned into red, green, blue rows from the top:
// what the desktop's image loaders need. The module is the one this library
// is linked against, reached through its exported functions, so every file
// keeps to the module's limits and nothing past the given bytes is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelo::desktop {

class ModulePicture {
 public:
  // False, with a UTF-8 reason in error(), when the module refuses the bytes.
  bool Decode(const std::uint8_t* data, std::size_t size);
  const std::string& error() const { return error_; }

  int width() const { return width_; }
  int height() const { return height_; }
  // Three bytes a pixel, rows from the top without padding.
  const std::vector<std::uint8_t>& rgb() const { return rgb_; }

 private:
  bool Fail(std::string reason);
  bool FailWithResult(int result, const std::uint8_t* data, std::size_t size);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> rgb_;
  std::string error_;
};

}  // namespace pelo::desktop
