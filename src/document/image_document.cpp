#include "document/image_document.h"

#include <new>

#include "document/color_palette.h"
#include "io/body_file.h"
#include "io/container_reader.h"
#include "io/record_stream.h"
#include "pages/page.h"
#include "platform/allocation.h"

namespace pelo {

namespace {

// "原因不明のエラーが発生しました。" in code page 932.
constexpr char kUnknownError[] =
    "\x8c\xb4\x88\xf6\x95\x73\x96\xbe\x82\xcc\x83\x47\x83\x89\x81\x5b\x82\xaa\x94\xad\x90\xb6\x82"
    "\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

bool IsDocumentDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 15 || depth == 16 || depth == 24;
}

// Load never lets anything escape, not even a failure to store its text.
template <class MakeText>
void SetErrorText(CString* errorText, MakeText makeText) {
  try {
    *errorText = makeText();
  } catch (...) {
    errorText->clear();
  }
}

}  // namespace

CImageDocument::~CImageDocument() {
  Clear();
}

void CImageDocument::Clear() {
  pages.ClearCurrent();
  pages.DeleteAll();
  palettes.ClearCurrent();
  palettes.DeleteAll();
  orderTable.reset();
  valid = 0;
}

bool CImageDocument::Create(int width, int height, int newDepth, int newColorCount,
                            std::uint8_t newColorFormat, bool withContent) {
  Clear();
  if (!IsDocumentDepth(newDepth) || newColorCount < 0 || newColorCount > 0xFFFF) return false;
  depth = static_cast<std::uint8_t>(newDepth);
  colorCount = static_cast<std::uint32_t>(newColorCount);
  colorFormat = newColorFormat;
  valid = 1;
  if (withContent && (!AddPage(0, width, height, true) || !AddPalette(0, true))) {
    valid = 0;
    return false;
  }
  return true;
}

bool CImageDocument::AddPage(int position, int width, int height, bool advanceNumber) {
  if (valid == 0 || position < 0) return false;
  auto page = std::make_unique<CPage>();
  if (!page->Create(width, height, depth, static_cast<int>(nextPageNumber))) return false;
  if (advanceNumber) ++nextPageNumber;
  pages.InsertAt(position, std::move(page), true);
  return true;
}

bool CImageDocument::AddPalette(int position, bool advanceNumber) {
  if (valid == 0 || position < 0 || colorCount > 0xFFFF) return false;
  auto palette = std::make_unique<CColorPalette>();
  if (!palette->Create(static_cast<int>(colorCount), static_cast<int>(nextPaletteNumber), depth,
                       colorFormat, true))
    return false;
  if (advanceNumber) ++nextPaletteNumber;
  palettes.InsertAt(position, std::move(palette), true);
  return true;
}

bool CImageDocument::Load(CFile& file) {
  try {
    CBinaryReader reader(&file);
    ContainerBody body;
    if (!InflateContainerBody(reader, &body, &errorText)) return false;
    // What the records may make is bounded by what the body could describe.
    AllocationBudget budget(LoadBudgetFor(body.size));
    // Layers take their pixels from the body in place, without a copy.
    CBodyFile memory(body.bytes, body.size);
    CBinaryReader bodyReader(&memory);
    ReadRecords(bodyReader, body.size, DocumentRecordHandler, this);
    return true;
  } catch (const CException& e) {
    SetErrorText(&errorText, [&] { return GetExceptionText(e); });
  } catch (const std::bad_alloc&) {
    SetErrorText(&errorText, [] { return CMemoryException().Message(); });
  } catch (...) {
    SetErrorText(&errorText, [] { return CString(kUnknownError); });
  }
  return false;
}

void DocumentRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                           void* context) {
  auto* document = static_cast<CImageDocument*>(context);
  switch (tag) {
    case 1000:
      document->depth = reader.ReadByte();
      break;
    case 1001:
      document->colorFormat = reader.ReadByte();
      break;
    case 1002:
      document->docByteA = reader.ReadByte();
      break;
    case 1003:
      document->docByteB = reader.ReadByte();
      break;
    case 1004:
      if (!document->orderTable) document->orderTable = std::make_unique<COrderTable>();
      document->orderTable->Load(reader, length);
      break;
    case 1005:
      ReadRecords(reader, length, DocumentOptionsRecordHandler, &document->options);
      break;
    case 2000:
      reader.ReadWord();
      break;
    case 2001:
      document->nextPageNumber = reader.ReadDword();
      break;
    case 2002:
      document->pageByte = reader.ReadByte();
      break;
    case 2003: {
      ChargeAllocation(sizeof(CPage));  // a six-byte record makes a whole object
      auto* page = static_cast<CPage*>(document->pages.Append(std::make_unique<CPage>()));
      page->Load(reader, length, document->depth);
      break;
    }
    case 2004:
      document->pages.SetCurrent(static_cast<std::int32_t>(reader.ReadDword()));
      break;
    case 3000:
      reader.ReadWord();
      break;
    case 3001:
      document->colorCount = reader.ReadWord();
      break;
    case 3002:
      document->nextPaletteNumber = reader.ReadDword();
      break;
    case 3003: {
      ChargeAllocation(sizeof(CColorPalette));
      auto* palette =
          static_cast<CColorPalette*>(document->palettes.Append(std::make_unique<CColorPalette>()));
      palette->Load(reader, length, static_cast<int>(document->colorCount), document->depth,
                    document->colorFormat);
      break;
    }
    case 3004:
      document->palettes.SetCurrent(static_cast<std::int32_t>(reader.ReadDword()));
      break;
    case 3005:
      document->foregroundColor.index = static_cast<std::uint8_t>(reader.ReadDword());
      break;
    case 3006:
      document->backgroundColor.index = static_cast<std::uint8_t>(reader.ReadDword());
      break;
    case 3007:
      ReadRecords(reader, length, ColorSettingRecordHandler, &document->foregroundColor);
      break;
    case 3008:
      ReadRecords(reader, length, ColorSettingRecordHandler, &document->backgroundColor);
      break;
    case 4000: {
      const std::uint32_t value = reader.ReadDword();
      document->bankMode = 1;
      document->bankLow = value & 0xFFFF;
      document->bankHigh = value >> 16;
      break;
    }
    default:
      break;
  }
}

CString GetExceptionText(const CException& exception) {
  char buffer[1024];
  if (!exception.GetErrorMessage(buffer, sizeof buffer)) return CString();
  return CString(buffer);
}

}  // namespace pelo
