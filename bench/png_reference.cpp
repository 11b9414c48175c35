#include "png_reference.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace pelo::bench {

namespace {

struct ReadCursor {
  const PngBytes* data;
  std::size_t at;
};

void WriteToVector(png_structp png, png_bytep bytes, png_size_t count) {
  auto* out = static_cast<PngBytes*>(png_get_io_ptr(png));
  out->insert(out->end(), bytes, bytes + count);
}

void Flush(png_structp) {}

void ReadFromVector(png_structp png, png_bytep bytes, png_size_t count) {
  auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (cursor->at + count > cursor->data->size()) png_error(png, "short PNG");
  std::memcpy(bytes, cursor->data->data() + cursor->at, count);
  cursor->at += count;
}

}  // namespace

PngBytes EncodeIndexedPng(const std::vector<std::uint8_t>& indices, int width, int height,
                          const std::vector<std::uint8_t>& paletteBgr, int level) {
  PngBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("PNG encoding failed");
  }
  png_set_write_fn(png, &out, WriteToVector, Flush);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = {paletteBgr[3 * i + 2], paletteBgr[3 * i + 1], paletteBgr[3 * i]};
  png_set_PLTE(png, info, palette, 256);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, indices.data() + static_cast<std::size_t>(y) * width);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

DecodedPng DecodeIndexedPng(const PngBytes& data) {
  DecodedPng out;
  ReadCursor cursor{&data, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return {};
  }
  png_set_read_fn(png, &cursor, ReadFromVector);
  png_read_info(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  out.pixels = std::make_unique_for_overwrite<std::uint8_t[]>(rowBytes * height);
  for (png_uint_32 y = 0; y < height; ++y)
    png_read_row(png, out.pixels.get() + y * rowBytes, nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  out.size = rowBytes * height;
  return out;
}

std::string LibpngVersion() {
  return png_get_libpng_ver(nullptr);
}

}  // namespace pelo::bench
