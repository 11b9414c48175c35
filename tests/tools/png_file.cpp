#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace pelo::tools::test {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class ReadStruct {
 public:
  ReadStruct() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~ReadStruct() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  ReadStruct(const ReadStruct&) = delete;
  ReadStruct& operator=(const ReadStruct&) = delete;
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

void ReadPalette(const ReadStruct& s, Raster* raster) {
  png_colorp colors = nullptr;
  int count = 0;
  if (png_get_PLTE(s.png(), s.info(), &colors, &count) == 0) return;
  for (int i = 0; i < count; ++i)
    raster->palette.push_back({colors[i].red, colors[i].green, colors[i].blue});
}

}  // namespace

Raster ReadPng(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error("cannot open " + path);
  ReadStruct s;
  if (setjmp(png_jmpbuf(s.png()))) throw std::runtime_error(path + " is no valid PNG");
  png_init_io(s.png(), file.get());
  png_read_info(s.png(), s.info());
  Raster raster;
  raster.width = static_cast<int>(png_get_image_width(s.png(), s.info()));
  raster.height = static_cast<int>(png_get_image_height(s.png(), s.info()));
  const int type = png_get_color_type(s.png(), s.info());
  if (png_get_bit_depth(s.png(), s.info()) != 8 ||
      (type != PNG_COLOR_TYPE_PALETTE && type != PNG_COLOR_TYPE_RGB))
    throw std::runtime_error(path + ": neither 8-bit indexed nor 8-bit RGB");
  raster.bitsPerPixel = type == PNG_COLOR_TYPE_PALETTE ? 8 : 24;
  if (raster.bitsPerPixel == 8) ReadPalette(s, &raster);
  const std::size_t rowBytes = png_get_rowbytes(s.png(), s.info());
  raster.pixels.resize(rowBytes * static_cast<std::size_t>(raster.height));
  for (int y = 0; y < raster.height; ++y)
    png_read_row(s.png(), raster.pixels.data() + rowBytes * static_cast<std::size_t>(y), nullptr);
  png_read_end(s.png(), nullptr);
  return raster;
}

Raster FromDib(const DibPicture& picture) {
  Raster raster;
  raster.width = picture.width();
  raster.height = picture.height();
  raster.bitsPerPixel = picture.bitsPerPixel();
  if (raster.bitsPerPixel == 8)
    for (int i = 0; i < DibPicture::kTableEntries; ++i) raster.palette.push_back(picture.Color(i));
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      if (raster.bitsPerPixel == 8) {
        raster.pixels.push_back(row[x]);
        continue;
      }
      const std::uint8_t* bgr = row + 3 * x;
      raster.pixels.insert(raster.pixels.end(), {bgr[2], bgr[1], bgr[0]});
    }
  }
  return raster;
}

}  // namespace pelo::tools::test
