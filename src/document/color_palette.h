// One palette of a document: colorCount entries, each with a colour (3-byte
// blue, green, red or a 16-bit value, by depth and colour format) and
// per-entry attributes, plus a name, a number, item settings and a palette
// selection. Only colorCount and colors are read for the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "items/item_settings.h"
#include "items/list_item.h"
#include "platform/cstring.h"

namespace pelo {

class CPaletteSelection;

class CColorPalette : public CListItem {
 public:
  CColorPalette();
  ~CColorPalette() override;

  std::int32_t GetNumber() const override { return number; }
  // A new palette made by CopyFrom of this one, whatever CopyFrom reported.
  // The CListItem flags of the copy keep their defaults.
  std::unique_ptr<CListItem> Clone() const override;

  // Sets the four values and builds the arrays the depth and colour format
  // call for (colours zero, levels 255, the rest zero), the name "%d" of
  // number and, with withSelection, an empty selection. False, with no
  // arrays and no selection left, when a buffer cannot be obtained (the
  // memory exception is caught here) or colorCount is negative.
  bool Create(int colorCount, int number, int depth, int colorFormat, bool withSelection);
  // Create with colorCount (other.colorCount when -1), number 0 and other's
  // depth and colour format.
  bool CreateLike(const CColorPalette& other, int colorCount, bool withSelection);
  // Releases every array and the selection.
  void FreeBuffers();
  // For every array this palette has, copies its colorCount entries from the
  // same array of other (as many as other holds, when other has fewer).
  void CopyEntries(const CColorPalette& other);
  // Deep copy: arrays, selection, name, settings values and number.
  bool CopyFrom(const CColorPalette& other);
  // Create(colorCount, 0, depth, colorFormat, true), then walks the palette
  // record body of length bytes with PaletteRecordHandler. When Create fails
  // it raises CMemoryException: the records would have nothing to fill.
  void Load(CBinaryReader& reader, std::uint32_t length, int colorCount, int depth,
            int colorFormat);

  // Which arrays a palette of this depth and colour format has.
  static bool HasColors(int depth, int colorFormat);
  static bool HasColors16(int depth, int colorFormat);
  static bool HasEntryValues(int depth) { return depth <= 8; }

  // Byte sizes of the arrays this palette has (0 for an array it lacks).
  std::size_t ColorsBytes() const { return colors ? EntryBytes(3) : 0; }
  std::size_t Colors16Bytes() const { return colors16 ? EntryBytes(2) : 0; }
  std::size_t EntryFlagsBytes() const { return entryFlags ? EntryBytes(1) : 0; }
  std::size_t LevelsBytes() const { return levels ? EntryBytes(1) : 0; }
  std::size_t EntryValuesBytes() const { return entryValues ? EntryBytes(4) : 0; }
  std::size_t ComponentsBytes() const { return components ? EntryBytes(6) : 0; }
  std::size_t ModesBytes() const { return modes ? EntryBytes(1) : 0; }

  // The arrays that raw records fill, in the order of their tags: colours,
  // 16-bit colours, entry flags, levels, components, modes.
  static constexpr int kRawArrays = 6;
  // A raw record of length bytes into the index-th of them, as
  // ReadRawEntries reads it.
  void ReadRawArray(CBinaryReader& reader, int index, std::uint32_t length);

  std::unique_ptr<std::uint8_t[]> colors;        // colorCount x 3 bytes: blue, green, red
  std::unique_ptr<std::uint16_t[]> colors16;     // colorCount values
  std::unique_ptr<std::uint8_t[]> entryFlags;    // colorCount bytes
  std::unique_ptr<std::uint8_t[]> levels;        // colorCount bytes
  std::unique_ptr<std::uint32_t[]> entryValues;  // colorCount values
  std::unique_ptr<std::uint16_t[]> components;   // colorCount triples
  std::unique_ptr<std::uint8_t[]> modes;         // colorCount bytes
  std::unique_ptr<CPaletteSelection> selection;
  CString name;
  CItemSettings settings;
  std::int32_t number = -1;
  std::int32_t colorCount = 0;
  std::int32_t depth = 0;
  std::int32_t colorFormat = 0;

 private:
  void FailedCreate();
  // colorCount x bytesPerEntry; fits, since the array was allocated.
  std::size_t EntryBytes(std::size_t bytesPerEntry) const {
    return static_cast<std::size_t>(colorCount) * bytesPerEntry;
  }
};

// Context: the CColorPalette. The records of a palette body. A raw record
// (1005 to 1010) fills the leading bytes of its array: as many as the
// payload holds, at most the array's size (the walker skips the rest); a
// raw record for an array the palette lacks is skipped.
void PaletteRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                          void* context);

// Reads min(length, arrayBytes) bytes into array with must-fill; nothing
// when array is null. Shared by the palette and palette selection handlers.
void ReadRawEntries(CBinaryReader& reader, void* array, std::size_t arrayBytes,
                    std::uint32_t length);

}  // namespace pelo
