#include "document/palette_selection.h"

#include <cstring>

#include "io/record_stream.h"
#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {

namespace {

// Record tags of a palette selection: the cell mask, then the sub-palette's
// raw entry arrays in the order of CColorPalette::ReadRawArray.
constexpr std::uint16_t kTagMask = 1000;
constexpr std::uint16_t kTagFirstRawArray = 1001;

}  // namespace

CPaletteSelection::~CPaletteSelection() = default;

bool CPaletteSelection::SetMask(std::unique_ptr<std::uint8_t[]> mask, int depth, int colorFormat) {
  Clear();
  cellMask = std::move(mask);
  int marked = 0;
  if (cellMask)
    for (int i = 0; i < kMaskBytes; ++i) marked += cellMask[i] != 0 ? 1 : 0;
  cellCount = static_cast<std::uint16_t>(marked);
  if (marked == 0) {
    cellMask.reset();
    return true;
  }
  palette = std::make_unique<CColorPalette>();
  if (!palette->Create(marked, 0, depth, colorFormat, true)) return false;
  outline.Trace(cellMask.get(), 16, 16, true);
  return true;
}

void CPaletteSelection::Clear() {
  palette.reset();
  cellMask.reset();
  cellCount = 0;
  outline.Clear();
}

bool CPaletteSelection::CopyFrom(const CPaletteSelection& other) {
  if (&other == this) return true;
  Clear();
  if (!other.cellMask) return true;
  // A mask with a marked cell always comes with its sub-palette.
  if (!other.palette) return false;
  std::unique_ptr<std::uint8_t[]> copy = AllocateBytes(kMaskBytes);
  std::memcpy(copy.get(), other.cellMask.get(), kMaskBytes);
  if (!SetMask(std::move(copy), other.palette->depth, other.palette->colorFormat)) return false;
  palette->CopyEntries(*other.palette);
  return true;
}

void CPaletteSelection::Load(CBinaryReader& reader, std::uint32_t length, int depth,
                             int colorFormat) {
  PaletteSelectionContext context{this, depth, colorFormat};
  ReadRecords(reader, length, PaletteSelectionRecordHandler, &context);
}

void PaletteSelectionRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                                   void* context) {
  auto* frame = static_cast<PaletteSelectionContext*>(context);
  CPaletteSelection& selection = *frame->selection;
  if (tag == kTagMask) {
    std::unique_ptr<std::uint8_t[]> mask = AllocateZeroedBytes(CPaletteSelection::kMaskBytes);
    ReadRawEntries(reader, mask.get(), CPaletteSelection::kMaskBytes, length);
    // SetMask reports a failed sub-palette as false; while loading, that is
    // the memory failure it was, and ends the load as one.
    if (!selection.SetMask(std::move(mask), frame->depth, frame->colorFormat))
      throw CMemoryException();
    return;
  }
  CColorPalette* palette = selection.palette.get();
  if (palette == nullptr) return;  // no marked cell yet: nothing to fill
  if (tag >= kTagFirstRawArray && tag < kTagFirstRawArray + CColorPalette::kRawArrays)
    palette->ReadRawArray(reader, tag - kTagFirstRawArray, length);
}

}  // namespace pelo
