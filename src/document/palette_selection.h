// The marked cells of a palette's 16 x 16 grid, with a sub-palette holding
// the marked cells' entries in mask order and the outline of the marked
// cells.
#pragma once

#include <cstdint>
#include <memory>

#include "document/color_palette.h"
#include "io/binary_reader.h"
#include "pages/outline_list.h"

namespace pelo {

class CPaletteSelection {
 public:
  static constexpr int kMaskBytes = 256;

  CPaletteSelection() = default;
  CPaletteSelection(const CPaletteSelection&) = delete;
  CPaletteSelection& operator=(const CPaletteSelection&) = delete;
  virtual ~CPaletteSelection();

  // Clear(), then takes mask (256 bytes) as cellMask and counts its nonzero
  // bytes. No marked cell: the mask is released and the result is true.
  // Otherwise makes the sub-palette of cellCount entries (false, with the
  // palette kept, if its Create fails) and traces the outline.
  bool SetMask(std::unique_ptr<std::uint8_t[]> mask, int depth, int colorFormat);
  // Deletes the sub-palette, releases the mask, empties the outline.
  void Clear();
  bool CopyFrom(const CPaletteSelection& other);
  // Walks a palette selection record body with PaletteSelectionRecordHandler.
  void Load(CBinaryReader& reader, std::uint32_t length, int depth, int colorFormat);

  std::unique_ptr<CColorPalette> palette;
  std::unique_ptr<std::uint8_t[]> cellMask;
  COutlineList outline;
  std::uint16_t cellCount = 0;
};

// What PaletteSelectionRecordHandler works on.
struct PaletteSelectionContext {
  CPaletteSelection* selection;
  int depth;
  int colorFormat;
};

// Context: a PaletteSelectionContext. Tag 1000 fills a new zeroed 256-byte
// mask from the payload (a shorter payload leaves the rest zero, a longer
// one is read as far as 256 bytes) and sets it (a sub-palette that cannot be
// created raises CMemoryException, ending the load); tags 1001 to 1006 fill the
// leading bytes of the sub-palette's arrays and are skipped while there is
// no sub-palette or the array does not exist.
void PaletteSelectionRecordHandler(CBinaryReader& reader, std::uint16_t tag,
                                   std::uint32_t length, void* context);

}  // namespace pelo
