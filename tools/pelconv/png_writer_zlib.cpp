#include <zlib.h>

#include "png_writer.h"

namespace pelo::tools {

namespace {

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4],
              const std::vector<std::uint8_t>& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutBe32(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> HeaderChunk(const PictureRows& picture) {
  std::vector<std::uint8_t> ihdr;
  PutBe32(ihdr, static_cast<std::uint32_t>(picture.width()));
  PutBe32(ihdr, static_cast<std::uint32_t>(picture.height()));
  const std::uint8_t colorType = picture.bitsPerPixel() == 8 ? 3 : 2;
  ihdr.insert(ihdr.end(), {8, colorType, 0, 0, 0});
  return ihdr;
}

std::vector<std::uint8_t> PaletteChunk(const PictureRows& picture) {
  std::vector<std::uint8_t> plte;
  for (int i = 0; i < PictureRows::kTableEntries; ++i) {
    const PaletteEntry e = picture.Color(i);
    plte.insert(plte.end(), {e.red, e.green, e.blue});
  }
  return plte;
}

// Filter type 0 before every row; 24-bit pixels turned from blue, green, red
// into red, green, blue.
std::vector<std::uint8_t> FilteredRows(const PictureRows& picture) {
  const std::size_t bytesPerPixel = static_cast<std::size_t>(picture.bitsPerPixel() / 8);
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * bytesPerPixel;
  std::vector<std::uint8_t> raw;
  raw.reserve((rowBytes + 1) * static_cast<std::size_t>(picture.height()));
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* row = picture.Row(y);
    raw.push_back(0);
    if (bytesPerPixel == 1) {
      raw.insert(raw.end(), row, row + rowBytes);
      continue;
    }
    for (std::size_t x = 0; x < rowBytes; x += 3)
      raw.insert(raw.end(), {row[x + 2], row[x + 1], row[x]});
  }
  return raw;
}

bool Compress(const std::vector<std::uint8_t>& raw, std::vector<std::uint8_t>* out) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  out->resize(size);
  if (compress2(out->data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK)
    return false;
  out->resize(size);
  return true;
}

}  // namespace

bool PngWriter::Encode(const PictureRows& picture, std::vector<std::uint8_t>* png) {
  png->assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  std::vector<std::uint8_t> idat;
  if (!Compress(FilteredRows(picture), &idat)) {
    error_ = "the PNG encoder failed";
    return false;
  }
  PutChunk(*png, "IHDR", HeaderChunk(picture));
  if (picture.bitsPerPixel() == 8) PutChunk(*png, "PLTE", PaletteChunk(picture));
  PutChunk(*png, "IDAT", idat);
  PutChunk(*png, "IEND", {});
  return true;
}

}  // namespace pelo::tools
