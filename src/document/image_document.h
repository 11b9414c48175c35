// The in-memory form of one editor file: document-wide settings, the owned
// lists of palettes and pages (each with a current item), the colour
// settings, the bank mode, the order table and the options.
#pragma once

#include <cstdint>
#include <memory>

#include "document/color_setting.h"
#include "document/document_options.h"
#include "document/order_table.h"
#include "io/binary_reader.h"
#include "items/item_list.h"
#include "platform/cstring.h"
#include "platform/exception.h"
#include "platform/file.h"

namespace pelo {

class CImageDocument {
 public:
  CImageDocument() = default;
  CImageDocument(const CImageDocument&) = delete;
  CImageDocument& operator=(const CImageDocument&) = delete;
  virtual ~CImageDocument();

  // A new empty document of this depth (1, 4, 8, 15, 16 or 24), colour count
  // (0 to 65,535) and colour format; with withContent, one page of width x
  // height and one palette, both current. False for a depth or count outside
  // those ranges, or when the page or the palette cannot be made (valid 0).
  bool Create(int width, int height, int depth, int colorCount, std::uint8_t colorFormat,
              bool withContent);
  // A new page numbered nextPageNumber inserted at position (keeping the
  // current page current). False while valid is 0, for a negative position,
  // or when the page's Create fails.
  bool AddPage(int position, int width, int height, bool advanceNumber);
  // The same for a palette of colorCount entries numbered nextPaletteNumber.
  bool AddPalette(int position, bool advanceNumber);
  // Reads a current-format file from its position. Never raises:
  // a failure gives false with its text in errorText.
  bool Load(CFile& file);
  // Empties both lists and deletes the order table; valid 0. The settings,
  // numbers and colour settings stay.
  void Clear();

  std::uint8_t valid = 0;
  CString errorText;
  std::uint8_t colorFormat = 0;
  std::uint8_t depth = 0;
  std::uint8_t docByteA = 0;
  CItemList palettes;  // of CColorPalette
  std::uint32_t colorCount = 0;
  std::uint32_t nextPaletteNumber = 0;
  CColorSetting foregroundColor;
  CColorSetting backgroundColor;
  std::uint8_t docByteB = 0;
  CItemList pages;  // of CPage
  std::uint32_t nextPageNumber = 0;
  std::uint8_t pageByte = 0;
  std::uint8_t bankMode = 0;
  std::uint32_t bankLow = 8;
  std::uint32_t bankHigh = 8;
  std::unique_ptr<COrderTable> orderTable;
  CDocumentOptions options;
};

// Context: the CImageDocument. The document's top-level records:
// settings, palettes (3003), pages (2003), current items, colour settings,
// bank mode, order table and options.
void DocumentRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                           void* context);

// The exception's own message, taken through GetErrorMessage into a buffer
// of 1,024 characters: at most 1,023 of them.
CString GetExceptionText(const CException& exception);

}  // namespace pelo
