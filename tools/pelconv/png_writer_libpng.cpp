#include <png.h>

#include <csetjmp>

#include "png_writer.h"

namespace pelo::tools {

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp; the write struct is freed on every path.
class WriteStruct {
 public:
  WriteStruct() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~WriteStruct() { png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr); }
  WriteStruct(const WriteStruct&) = delete;
  WriteStruct& operator=(const WriteStruct&) = delete;

  bool ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

void SetHeader(const WriteStruct& s, const PictureRows& picture) {
  const bool indexed = picture.bitsPerPixel() == 8;
  png_set_IHDR(s.png(), s.info(), static_cast<png_uint_32>(picture.width()),
               static_cast<png_uint_32>(picture.height()), 8,
               indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!indexed) return;
  png_color colors[PictureRows::kTableEntries];
  for (int i = 0; i < PictureRows::kTableEntries; ++i) {
    const PaletteEntry e = picture.Color(i);
    colors[i] = png_color{e.red, e.green, e.blue};
  }
  png_set_PLTE(s.png(), s.info(), colors, PictureRows::kTableEntries);
}

}  // namespace

bool PngWriter::Encode(const PictureRows& picture, std::vector<std::uint8_t>* png) {
  png->clear();
  WriteStruct s;
  if (!s.ok()) {
    error_ = "out of memory while encoding the PNG";
    return false;
  }
  if (setjmp(png_jmpbuf(s.png()))) {
    error_ = "the PNG encoder failed";
    return false;
  }
  png_set_write_fn(s.png(), png, AppendToVector, NoFlush);
  SetHeader(s, picture);
  png_write_info(s.png(), s.info());
  if (picture.bitsPerPixel() == 24) png_set_bgr(s.png());  // the pixel block is blue, green, red
  for (int y = 0; y < picture.height(); ++y)
    png_write_row(s.png(), const_cast<png_bytep>(picture.Row(y)));
  png_write_end(s.png(), nullptr);
  return true;
}

}  // namespace pelo::tools
