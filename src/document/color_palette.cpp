#include "document/color_palette.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "document/palette_selection.h"
#include "io/record_stream.h"
#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {

namespace {

// Record tags of a palette body after the list item's own: the raw entry
// arrays in the order of ReadRawArray, then the selection and the settings.
constexpr std::uint16_t kTagFirstRawArray = 1005;
constexpr std::uint16_t kTagSelection = 1011;
constexpr std::uint16_t kTagAmount = 2000;
constexpr std::uint16_t kTagOption1 = 2001;
constexpr std::uint16_t kTagOption2 = 2002;

// entries x perEntry values of T; a product that does not fit raises as
// any refused allocation does.
template <class T>
std::unique_ptr<T[]> AllocateEntries(std::size_t entries, std::size_t perEntry) {
  std::size_t count = 0;
  if (!CheckedMul(entries, perEntry, &count)) throw CMemoryException();
  return AllocateArray<T>(count);
}

template <class T>
std::unique_ptr<T[]> AllocateFilled(std::size_t entries, std::size_t perEntry, T value) {
  std::unique_ptr<T[]> values = AllocateEntries<T>(entries, perEntry);
  std::fill_n(values.get(), entries * perEntry, value);
  return values;
}

template <class T>
void CopyArray(const std::unique_ptr<T[]>& to, const std::unique_ptr<T[]>& from,
               std::size_t entries, std::size_t perEntry) {
  if (to && from) std::copy_n(from.get(), entries * perEntry, to.get());
}

bool IsIndexedDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8;
}

}  // namespace

CColorPalette::CColorPalette() = default;

CColorPalette::~CColorPalette() {
  FreeBuffers();
}

bool CColorPalette::HasColors(int depth, int colorFormat) {
  return depth == 24 || (IsIndexedDepth(depth) && colorFormat == 0);
}

bool CColorPalette::HasColors16(int depth, int colorFormat) {
  return depth == 15 || depth == 16 ||
         (IsIndexedDepth(depth) && (colorFormat == 1 || colorFormat == 2));
}

bool CColorPalette::Create(int newColorCount, int newNumber, int newDepth, int newColorFormat,
                           bool withSelection) {
  depth = newDepth;
  colorCount = newColorCount;
  colorFormat = newColorFormat;
  number = newNumber;
  if (newColorCount < 0) {
    FreeBuffers();
    return false;
  }
  const auto n = static_cast<std::size_t>(newColorCount);
  try {
    // Built aside and kept only when all of them exist, so a failure
    // releases exactly what this call built.
    std::unique_ptr<std::uint8_t[]> newColors;
    std::unique_ptr<std::uint16_t[]> newColors16;
    std::unique_ptr<std::uint32_t[]> newEntryValues;
    if (HasColors(depth, colorFormat)) {
      newColors = AllocateFilled<std::uint8_t>(n, 3, 0);
    } else if (HasColors16(depth, colorFormat)) {
      newColors16 = AllocateFilled<std::uint16_t>(n, 1, 0);
    }
    auto newEntryFlags = AllocateFilled<std::uint8_t>(n, 1, 0);
    if (HasEntryValues(depth)) newEntryValues = AllocateFilled<std::uint32_t>(n, 1, 0);
    auto newLevels = AllocateFilled<std::uint8_t>(n, 1, 255);
    auto newComponents = AllocateFilled<std::uint16_t>(n, 3, 0);
    auto newModes = AllocateFilled<std::uint8_t>(n, 1, 0);
    std::unique_ptr<CPaletteSelection> newSelection;
    if (withSelection) newSelection = std::make_unique<CPaletteSelection>();
    CString newName = std::to_string(newNumber);

    colors = std::move(newColors);
    colors16 = std::move(newColors16);
    entryFlags = std::move(newEntryFlags);
    entryValues = std::move(newEntryValues);
    levels = std::move(newLevels);
    components = std::move(newComponents);
    modes = std::move(newModes);
    if (withSelection) selection = std::move(newSelection);
    name = std::move(newName);
  } catch (const CMemoryException&) {
    FailedCreate();
    return false;
  } catch (const std::bad_alloc&) {
    FailedCreate();
    return false;
  }
  return true;
}

void CColorPalette::FailedCreate() {
  // The arrays built by this call are gone with their locals; earlier ones
  // (Create on a palette that had arrays) no longer match colorCount, so
  // they go too: a palette never holds an array of another size.
  FreeBuffers();
}

bool CColorPalette::CreateLike(const CColorPalette& other, int newColorCount, bool withSelection) {
  return Create(newColorCount == -1 ? other.colorCount : newColorCount, 0, other.depth,
                other.colorFormat, withSelection);
}

void CColorPalette::FreeBuffers() {
  colors.reset();
  colors16.reset();
  entryFlags.reset();
  levels.reset();
  entryValues.reset();
  components.reset();
  modes.reset();
  selection.reset();
}

void CColorPalette::CopyEntries(const CColorPalette& other) {
  const auto n = static_cast<std::size_t>(std::max(0, std::min(colorCount, other.colorCount)));
  CopyArray(colors, other.colors, n, 3);
  CopyArray(colors16, other.colors16, n, 1);
  CopyArray(entryFlags, other.entryFlags, n, 1);
  CopyArray(levels, other.levels, n, 1);
  CopyArray(entryValues, other.entryValues, n, 1);
  CopyArray(components, other.components, n, 3);
  CopyArray(modes, other.modes, n, 1);
}

bool CColorPalette::CopyFrom(const CColorPalette& other) {
  if (&other == this) return true;
  if (!CreateLike(other, -1, true)) return false;
  CopyEntries(other);
  if (other.selection && !selection->CopyFrom(*other.selection)) return false;
  name = other.name;
  settings.amount = other.settings.amount;
  settings.option1 = other.settings.option1;
  settings.option2 = other.settings.option2;
  number = other.number;
  return true;
}

std::unique_ptr<CListItem> CColorPalette::Clone() const {
  auto copy = std::make_unique<CColorPalette>();
  copy->CopyFrom(*this);
  return copy;
}

void CColorPalette::Load(CBinaryReader& reader, std::uint32_t length, int newColorCount,
                         int newDepth, int newColorFormat) {
  if (!Create(newColorCount, 0, newDepth, newColorFormat, true)) throw CMemoryException();
  ReadRecords(reader, length, PaletteRecordHandler, this);
}

void CColorPalette::ReadRawArray(CBinaryReader& reader, int index, std::uint32_t length) {
  switch (index) {
    case 0:
      return ReadRawEntries(reader, colors.get(), ColorsBytes(), length);
    case 1:
      return ReadRawEntries(reader, colors16.get(), Colors16Bytes(), length);
    case 2:
      return ReadRawEntries(reader, entryFlags.get(), EntryFlagsBytes(), length);
    case 3:
      return ReadRawEntries(reader, levels.get(), LevelsBytes(), length);
    case 4:
      return ReadRawEntries(reader, components.get(), ComponentsBytes(), length);
    case 5:
      return ReadRawEntries(reader, modes.get(), ModesBytes(), length);
    default:
      return;
  }
}

void ReadRawEntries(CBinaryReader& reader, void* array, std::size_t arrayBytes,
                    std::uint32_t length) {
  if (array == nullptr) return;
  const std::size_t count = std::min<std::size_t>(length, arrayBytes);
  // arrayBytes is at most kMaxBufferBytes, so the count fits an int.
  reader.ReadBytes(array, static_cast<int>(count), true);
}

void PaletteRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                          void* context) {
  auto* palette = static_cast<CColorPalette*>(context);
  if (ReadListItemRecord(reader, tag, length, *palette, palette->name, palette->number)) return;
  if (tag >= kTagFirstRawArray && tag < kTagFirstRawArray + CColorPalette::kRawArrays) {
    palette->ReadRawArray(reader, tag - kTagFirstRawArray, length);
    return;
  }
  switch (tag) {
    case kTagSelection:
      if (palette->selection)
        palette->selection->Load(reader, length, palette->depth, palette->colorFormat);
      break;
    case kTagAmount:
      palette->settings.SetAmount(reader.ReadDword(), false);
      break;
    case kTagOption1:
      palette->settings.SetOption1(reader.ReadByte(), true);
      break;
    case kTagOption2:
      palette->settings.SetOption2(reader.ReadByte(), true);
      break;
    default:
      break;
  }
}

}  // namespace pelo
