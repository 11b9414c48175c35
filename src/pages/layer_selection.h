// The floating selection of a layer: a rectangle in layer coordinates, a mask
// of its cells and two pixel buffers that hold the selected pixels lying off
// and on the layer. Loaded and copied with the layer, never composited.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "pages/outline_list.h"

namespace pelo {

class CLayerSelection {
 public:
  // left, top, right, bottom; right and bottom are exclusive.
  using Bounds = std::array<std::int32_t, 4>;

  CLayerSelection() = default;
  CLayerSelection(const CLayerSelection&) = delete;
  CLayerSelection& operator=(const CLayerSelection&) = delete;
  virtual ~CLayerSelection() = default;

  // Releases the buffers and the outline; the selection is then empty.
  void Clear();
  // A selection of the rectangle with new pixel buffers, cleared to 0. The
  // mask is copied from mask (cells bytes) or, when mask is null, starts
  // with no cell selected. False, leaving the selection empty, for an
  // inverted rectangle or one whose buffers would be too large.
  bool Create(const Bounds& bounds, const std::uint8_t* mask, int bytesPerPixel);
  // As above, taking over mask, which must hold the rectangle's cell count.
  bool Create(const Bounds& bounds, std::unique_ptr<std::uint8_t[]> mask, int bytesPerPixel);
  // Deep copy of source's rectangle, mask and pixels; the outline is not
  // copied. False when the buffers cannot be allocated.
  bool CopyFrom(const CLayerSelection& source);
  // Walks length bytes of selection records. The layer's size decides which
  // of the two buffers takes each selected pixel.
  void Load(CBinaryReader& reader, std::uint32_t length, int bytesPerPixel, int layerWidth,
            int layerHeight);

  // Bytes held by each of outsidePixels and insidePixels.
  std::size_t PixelBytes() const { return cells * static_cast<std::size_t>(bytesPerPixel); }

  COutlineList outline;
  Bounds bounds{};
  std::unique_ptr<std::uint8_t[]> mask;
  std::unique_ptr<std::uint8_t[]> outsidePixels;
  std::unique_ptr<std::uint8_t[]> insidePixels;
  // Bytes held by mask, and the size of one pixel in the two pixel buffers;
  // both 0 while the selection is empty.
  std::size_t cells = 0;
  int bytesPerPixel = 0;
};

}  // namespace pelo
