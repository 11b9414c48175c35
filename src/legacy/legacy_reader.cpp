#include "legacy/legacy_reader.h"

#include <cstring>

#include "document/color_palette.h"
#include "legacy/run_length_block.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/allocation.h"

namespace pelo {

namespace {

// The header: a 10-byte signature field, the width and the height, the
// layer count and the transparent index.
constexpr std::size_t kSignatureField = 10;
constexpr std::size_t kNameField = 80;

struct LegacyHeader {
  LegacyPictureSize size;
  std::uint16_t layerCount = 0;
  std::uint8_t transparentIndex = 0;
};

bool ReadSignature(CBinaryReader& reader) {
  char signature[kSignatureField];
  reader.ReadBytes(signature, sizeof signature, true);
  return std::memcmp(signature, "PELO", 5) == 0;  // "PELO" ended by its zero byte
}

LegacyPictureSize ReadSize(CBinaryReader& reader) {
  LegacyPictureSize size;
  size.width = reader.ReadDword();
  size.height = reader.ReadDword();
  return size;
}

LegacyHeader ReadHeader(CBinaryReader& reader) {
  LegacyHeader h;
  h.size = ReadSize(reader);
  h.layerCount = reader.ReadWord();
  h.transparentIndex = reader.ReadByte();
  return h;
}

// The file stores red, green, blue; the palette keeps blue, green, red.
void ReadPalette(CBinaryReader& reader, CColorPalette& palette) {
  for (int i = 0; i < 256; ++i) {
    std::uint8_t* entry = &palette.colors[3 * i];
    entry[2] = reader.ReadByte();
    entry[1] = reader.ReadByte();
    entry[0] = reader.ReadByte();
  }
}

CString ReadName(CBinaryReader& reader) {
  char field[kNameField];
  reader.ReadBytes(field, sizeof field, true);
  const void* end = std::memchr(field, 0, sizeof field);
  const std::size_t length = end == nullptr
                                 ? sizeof field
                                 : static_cast<std::size_t>(static_cast<const char*>(end) - field);
  return CString(field, length);
}

// The record is read before its layer is made, so a file that ends early
// fails before the layer's buffer is allocated. A layer whose expansion is
// one value throughout (a blank layer is a single run) needs no buffer.
bool ReadLayer(CBinaryReader& reader, CPage& page, std::uint16_t index) {
  const CString name = ReadName(reader);
  const std::uint8_t visible = reader.ReadByte();
  CRunLengthBlock block;
  block.Read(reader, static_cast<std::uint32_t>(static_cast<std::uint64_t>(page.width) *
                                                static_cast<std::uint32_t>(page.height)));
  if (index > 0 && !page.AddLayer(page.layers.GetCount(), true)) return false;
  auto* layer = static_cast<CLayer*>(page.layers.GetAt(page.layers.GetCount() - 1));
  if (layer == nullptr) return false;
  layer->SetName(name);
  layer->visible = visible;
  std::uint8_t value = 0;
  if (block.IsUniform(layer->pixelsSize, &value)) {
    layer->Fill(value);
    return true;
  }
  layer->MaterializePixels();
  block.Expand(layer->pixels.get(), layer->pixelsSize);
  return true;
}

}  // namespace

PluginResult ReadLegacyFile(CFile& file, CImageDocument* document) {
  AllocationBudget budget(kMaxCallBytes);
  CBinaryReader reader(&file);
  if (!ReadSignature(reader)) return kResultRejected;
  const LegacyHeader header = ReadHeader(reader);
  const LegacyPictureSize& size = header.size;
  if (size.width > 0x7FFFFFFF || size.height > 0x7FFFFFFF) return kResultUnknownFormat;
  if (!document->Create(static_cast<int>(size.width), static_cast<int>(size.height), 8, 256, 0,
                        true))
    return kResultUnknownFormat;
  document->backgroundColor.index = header.transparentIndex;
  auto* palette = static_cast<CColorPalette*>(document->palettes.GetCurrent());
  auto* page = static_cast<CPage*>(document->pages.GetCurrent());
  if (palette == nullptr || page == nullptr || !palette->colors) return kResultUnknownFormat;
  ReadPalette(reader, *palette);
  for (std::uint16_t i = 0; i < header.layerCount; ++i) {
    if (!ReadLayer(reader, *page, i)) return kResultUnknownFormat;
  }
  return kResultSuccess;
}

bool ReadLegacySignature(CFile& file) {
  CBinaryReader reader(&file);
  return ReadSignature(reader);
}

LegacyPictureSize ReadLegacyPictureSize(CFile& file) {
  file.Seek(file.GetPosition() + kSignatureField);
  CBinaryReader reader(&file);
  return ReadSize(reader);
}

}  // namespace pelo
