#include "pages/layer_selection.h"

#include <algorithm>
#include <cstring>

#include "io/record_stream.h"
#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {

namespace {

// Record tags of a selection body.
constexpr std::uint16_t kTagBounds = 1000;
constexpr std::uint16_t kTagMask = 1001;
constexpr std::uint16_t kTagPixels = 1002;

// Both differences of a rectangle fit in 32 unsigned bits, so a width or
// height always fits in size_t, even in the 32-bit module.
static_assert(sizeof(std::size_t) >= sizeof(std::uint32_t));

// The cell count of a rectangle; false for an inverted rectangle or one whose
// count does not fit in size_t. Differences are taken in 64 bits because the
// coordinates may lie anywhere in the 32-bit range.
bool CellCount(const CLayerSelection::Bounds& rect, std::size_t* count) {
  const std::int64_t width = std::int64_t{rect[2]} - rect[0];
  const std::int64_t height = std::int64_t{rect[3]} - rect[1];
  if (width < 0 || height < 0) return false;
  return CheckedMul(static_cast<std::size_t>(width), static_cast<std::size_t>(height), count);
}

// The mask's and each pixel buffer's size; false when either does not fit.
bool BufferSizes(const CLayerSelection::Bounds& rect, int pixelBytes, std::size_t* count,
                 std::size_t* size) {
  return pixelBytes >= 0 && CellCount(rect, count) &&
         CheckedMul(*count, static_cast<std::size_t>(pixelBytes), size);
}

struct SelectionLoad {
  CLayerSelection* selection;
  int bytesPerPixel;
  int layerWidth;
  int layerHeight;
};

void ReadBounds(CBinaryReader& reader, const SelectionLoad& load) {
  const std::array<std::uint32_t, 4> raw = reader.ReadRect();
  CLayerSelection::Bounds rect{};
  std::transform(raw.begin(), raw.end(), rect.begin(),
                 [](std::uint32_t v) { return static_cast<std::int32_t>(v); });
  // A rectangle that cannot be held leaves the selection empty; the mask and
  // pixel records after it are then skipped.
  load.selection->Create(rect, nullptr, load.bytesPerPixel);
}

void ReadMask(CBinaryReader& reader, std::uint32_t length, CLayerSelection& selection) {
  if (!selection.mask) return;
  const std::size_t count = std::min<std::size_t>(length, selection.cells);
  reader.ReadBytes(selection.mask.get(), static_cast<int>(count), true);
}

// The pixels of the marked cells, bytesPerPixel bytes each in cell order: a
// short payload fills the cells it reaches, a long one leaves its excess.
void ReadPixels(CBinaryReader& reader, std::uint32_t length, const SelectionLoad& load) {
  CLayerSelection& selection = *load.selection;
  const int pixelBytes = selection.bytesPerPixel;
  if (!selection.mask || selection.cells == 0 || pixelBytes < 1 || pixelBytes > 3) return;

  const std::uint8_t* mask = selection.mask.get();
  const auto marked = static_cast<std::size_t>(
      std::count_if(mask, mask + selection.cells, [](std::uint8_t m) { return m != 0; }));
  const std::size_t size = std::min<std::size_t>(length, marked * pixelBytes);
  std::unique_ptr<std::uint8_t[]> payload = AllocateBytes(size);
  reader.ReadBytes(payload.get(), static_cast<int>(size), true);

  const auto& [left, top, right, bottom] = selection.bounds;
  std::size_t cursor = 0;
  std::size_t k = 0;
  for (std::int64_t y = top; y < bottom; ++y) {
    for (std::int64_t x = left; x < right; ++x, ++k) {
      if (mask[k] == 0) continue;
      if (size - cursor < static_cast<std::size_t>(pixelBytes)) return;
      const bool inside = x >= 0 && x < load.layerWidth && y >= 0 && y < load.layerHeight;
      std::uint8_t* target = inside ? selection.insidePixels.get() : selection.outsidePixels.get();
      std::memcpy(target + k * pixelBytes, payload.get() + cursor, pixelBytes);
      cursor += pixelBytes;
    }
  }
}

void LayerSelectionRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                                 void* context) {
  const auto& load = *static_cast<SelectionLoad*>(context);
  switch (tag) {
    case kTagBounds:
      ReadBounds(reader, load);
      break;
    case kTagMask:
      ReadMask(reader, length, *load.selection);
      break;
    case kTagPixels:
      ReadPixels(reader, length, load);
      break;
    default:
      break;
  }
}

}  // namespace

void CLayerSelection::Clear() {
  mask.reset();
  outsidePixels.reset();
  insidePixels.reset();
  outline.Clear();
  bounds = {};
  cells = 0;
  bytesPerPixel = 0;
}

bool CLayerSelection::Create(const Bounds& rect, const std::uint8_t* source, int pixelBytes) {
  Clear();
  std::size_t count = 0;
  std::size_t size = 0;
  if (!BufferSizes(rect, pixelBytes, &count, &size)) return false;
  // No mask is copied for pixel buffers that could not be had anyway.
  if (size > kMaxBufferBytes) return false;
  std::unique_ptr<std::uint8_t[]> copy;
  try {
    copy = AllocateZeroedBytes(count);
  } catch (const CMemoryException&) {
    return false;
  }
  if (source != nullptr) std::memcpy(copy.get(), source, count);
  return Create(rect, std::move(copy), pixelBytes);
}

bool CLayerSelection::Create(const Bounds& rect, std::unique_ptr<std::uint8_t[]> adopted,
                             int pixelBytes) {
  Clear();
  std::size_t count = 0;
  std::size_t size = 0;
  if (!adopted || !BufferSizes(rect, pixelBytes, &count, &size)) return false;
  std::unique_ptr<std::uint8_t[]> outside;
  std::unique_ptr<std::uint8_t[]> inside;
  try {
    outside = AllocateZeroedBytes(size);
    inside = AllocateZeroedBytes(size);
  } catch (const CMemoryException&) {
    return false;
  }
  mask = std::move(adopted);
  outsidePixels = std::move(outside);
  insidePixels = std::move(inside);
  bounds = rect;
  cells = count;
  bytesPerPixel = pixelBytes;
  return true;
}

bool CLayerSelection::CopyFrom(const CLayerSelection& source) {
  if (&source == this) return true;  // Clear would leave nothing to copy
  Clear();
  if (!source.mask) return true;
  if (!Create(source.bounds, source.mask.get(), source.bytesPerPixel)) return false;
  std::memcpy(outsidePixels.get(), source.outsidePixels.get(), PixelBytes());
  std::memcpy(insidePixels.get(), source.insidePixels.get(), PixelBytes());
  return true;
}

void CLayerSelection::Load(CBinaryReader& reader, std::uint32_t length, int pixelBytes,
                           int layerWidth, int layerHeight) {
  SelectionLoad load{this, pixelBytes, layerWidth, layerHeight};
  ReadRecords(reader, length, LayerSelectionRecordHandler, &load);
}

}  // namespace pelo
