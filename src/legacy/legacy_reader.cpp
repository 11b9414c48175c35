#include "legacy/legacy_reader.h"

#include <cstring>

#include "document/color_palette.h"
#include "legacy/run_length_block.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/allocation.h"

namespace pelo {

namespace {

constexpr int kResultSuccess = 0;
constexpr int kResultRejected = 3;
constexpr int kResultFailed = 8;
constexpr std::size_t kNameField = 80;

struct LegacyHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t layerCount = 0;
  std::uint8_t transparentIndex = 0;
};

bool ReadSignature(CBinaryReader& reader) {
  char signature[10];
  reader.ReadBytes(signature, sizeof signature, true);
  return std::memcmp(signature, "PELO", 5) == 0;  // "PELO" ended by its zero byte
}

LegacyHeader ReadHeader(CBinaryReader& reader) {
  LegacyHeader h;
  h.width = reader.ReadDword();
  h.height = reader.ReadDword();
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
// fails before the layer's buffer is allocated.
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
  block.Expand(layer->pixels.get(), layer->pixelsSize);
  return true;
}

}  // namespace

int ReadLegacyFile(CFile& file, CImageDocument* document) {
  // A run can stand for a whole layer in nine bytes, so the layers are
  // bounded by what the rest of the file could honestly describe.
  const std::uint64_t length = file.GetLength();
  const std::uint64_t position = file.GetPosition();
  AllocationBudget budget(LoadBudgetFor(length > position ? length - position : 0));
  CBinaryReader reader(&file);
  if (!ReadSignature(reader)) return kResultRejected;
  const LegacyHeader header = ReadHeader(reader);
  if (header.width > 0x7FFFFFFF || header.height > 0x7FFFFFFF) return kResultFailed;
  if (!document->Create(static_cast<int>(header.width), static_cast<int>(header.height), 8, 256, 0,
                        true))
    return kResultFailed;
  document->backgroundColor.index = header.transparentIndex;
  auto* palette = static_cast<CColorPalette*>(document->palettes.GetCurrent());
  auto* page = static_cast<CPage*>(document->pages.GetCurrent());
  if (palette == nullptr || page == nullptr || !palette->colors) return kResultFailed;
  ReadPalette(reader, *palette);
  for (std::uint16_t i = 0; i < header.layerCount; ++i) {
    if (!ReadLayer(reader, *page, i)) return kResultFailed;
  }
  return kResultSuccess;
}

}  // namespace pelo
