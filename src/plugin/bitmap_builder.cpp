#include "plugin/bitmap_builder.h"

#include <algorithm>
#include <cstring>

#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "plugin/pixel_operations.h"
#include "plugin/spi_api.h"
#include "settings/layer_bond.h"

namespace pelo {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kColorTableEntries = 256;
constexpr std::size_t kColorTableBytes = kColorTableEntries * 4;

struct Geometry {
  int width = 0;
  int height = 0;
  bool indexed = true;  // 8 bits with a colour table, else 24 bits
  std::size_t bytesPerPixel = 1;
  std::size_t rowBytes = 0;  // width * bytesPerPixel, without padding
  std::size_t stride = 0;
  std::size_t headerBytes = 0;
  std::size_t pixelBytes = 0;
};

bool ComputeGeometry(const CPage& page, int depth, Geometry* g) {
  if (page.width < 0 || page.height < 0) return false;
  g->width = page.width;
  g->height = page.height;
  g->indexed = depth <= 8;
  g->bytesPerPixel = g->indexed ? 1 : 3;
  g->headerBytes = kInfoHeaderBytes + (g->indexed ? kColorTableBytes : 0);
  if (!CheckedMul(static_cast<std::size_t>(g->width), g->bytesPerPixel, &g->rowBytes)) return false;
  if (g->rowBytes > kMaxBufferBytes) return false;
  g->stride = (g->rowBytes + 3) & ~static_cast<std::size_t>(3);
  return CheckedMul(g->stride, static_cast<std::size_t>(g->height), &g->pixelBytes) &&
         g->pixelBytes <= kMaxBufferBytes;
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void WriteInfoHeader(std::uint8_t* h, const Geometry& g) {
  std::memset(h, 0, kInfoHeaderBytes);
  PutLe32(h, kInfoHeaderBytes);
  PutLe32(h + 4, static_cast<std::uint32_t>(g.width));
  PutLe32(h + 8, static_cast<std::uint32_t>(g.height));
  h[12] = 1;                   // planes
  h[14] = g.indexed ? 8 : 24;  // bits per pixel; compression and the rest stay 0
}

// Entries past the palette's count, and every entry of a palette that keeps
// 16-bit colours only, stay black. Only the first 256 entries fit.
void WriteColorTable(std::uint8_t* table, const CColorPalette& palette) {
  std::memset(table, 0, kColorTableBytes);
  if (!palette.colors || palette.colorCount <= 0) return;
  const std::size_t count =
      std::min(static_cast<std::size_t>(palette.colorCount), kColorTableEntries);
  for (std::size_t i = 0; i < count; ++i) std::memcpy(table + 4 * i, &palette.colors[3 * i], 3);
}

// A layer's buffer matches the page in a sound file, but records may change
// the page's size or the document's depth after the layer was read: draw only
// the whole rows that the buffer really holds.
int RowsHeld(const CLayer& layer, const Geometry& g) {
  if (!layer.pixels || g.rowBytes == 0) return 0;
  const std::size_t rows = layer.pixelsSize / g.rowBytes;
  return static_cast<int>(std::min(rows, static_cast<std::size_t>(g.height)));
}

bool TakesPart(const CLayer& layer, bool allLayers) {
  return allLayers || layer.visible != 0;
}

void ComposeIndexed(const CImageDocument& doc, const CPage& page, const Geometry& g,
                    std::uint8_t* top, bool allLayers) {
  const auto step = -static_cast<std::ptrdiff_t>(g.stride);
  const auto rowLength = static_cast<std::ptrdiff_t>(g.width);
  const std::uint8_t key = doc.backgroundColor.index;
  for (int i = page.layers.GetCount() - 1; i >= 0; --i) {
    const auto* layer = static_cast<const CLayer*>(page.layers.GetAt(i));
    if (layer == nullptr || !TakesPart(*layer, allLayers)) continue;
    const int rows = RowsHeld(*layer, g);
    if (doc.bankMode != 0)
      BlitIndexedNibble(top, step, g.width, rows, layer->pixels.get(), rowLength);
    else
      BlitIndexedKeyed(top, step, g.width, rows, layer->pixels.get(), rowLength, key);
  }
}

void ComposeRgb24(const CImageDocument& doc, const CPage& page, const Geometry& g,
                  std::uint8_t* top, bool allLayers) {
  const auto step = -static_cast<std::ptrdiff_t>(g.stride);
  const std::uint8_t* key = doc.backgroundColor.color.data();
  FillRgb24(top, step, g.width, g.height, key);
  for (int i = page.layers.GetCount() - 1; i >= 0; --i) {
    const auto* layer = static_cast<const CLayer*>(page.layers.GetAt(i));
    if (layer == nullptr || !TakesPart(*layer, allLayers)) continue;
    BlitRgb24Keyed(top, step, g.width, RowsHeld(*layer, g), layer->pixels.get(), key);
  }
}

// The picture counts against the budget of the call that loaded its file.
bool ChargeOutput(const Geometry& g) {
  try {
    ChargeAllocation(g.headerBytes + g.pixelBytes);
    return true;
  } catch (const CMemoryException&) {
    return false;
  }
}

void FreeBoth(LocalHandle* header, LocalHandle* pixels) {
  FreeBlock(*header);
  FreeBlock(*pixels);
  *header = nullptr;
  *pixels = nullptr;
}

}  // namespace

int BuildPictureBitmap(const CImageDocument& document, LocalHandle* header, LocalHandle* pixels) {
  *header = nullptr;
  *pixels = nullptr;
  const bool allLayers = ReadLayerBond() != 0;
  const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
  if (page == nullptr) return SPI_UNKNOWN_FORMAT;
  const auto* palette = static_cast<const CColorPalette*>(document.palettes.GetCurrent());
  Geometry g;
  if (!ComputeGeometry(*page, document.depth, &g)) return SPI_NO_MEMORY;
  if (g.indexed && palette == nullptr) return SPI_UNKNOWN_FORMAT;
  if (!ChargeOutput(g)) return SPI_NO_MEMORY;

  *header = AllocMovableBlock(g.headerBytes);
  *pixels = AllocMovableBlock(g.pixelBytes);
  auto* head = static_cast<std::uint8_t*>(LockBlock(*header));
  auto* bits = static_cast<std::uint8_t*>(LockBlock(*pixels));
  if (head == nullptr || bits == nullptr) {
    FreeBoth(header, pixels);
    return SPI_NO_MEMORY;
  }
  WriteInfoHeader(head, g);
  std::uint8_t* top = bits + g.stride * static_cast<std::size_t>(g.height - 1);
  if (g.indexed) {
    WriteColorTable(head + kInfoHeaderBytes, *palette);
    std::memset(bits, document.backgroundColor.index, g.pixelBytes);
    ComposeIndexed(document, *page, g, top, allLayers);
  } else {
    // Padding, and the whole picture of a 15- or 16-bit document, would
    // otherwise leave the module as stale heap bytes.
    std::memset(bits, 0, g.pixelBytes);
    if (document.depth == 24) ComposeRgb24(document, *page, g, top, allLayers);
  }
  UnlockBlock(*header);
  UnlockBlock(*pixels);
  return SPI_SUCCESS;
}

}  // namespace pelo
