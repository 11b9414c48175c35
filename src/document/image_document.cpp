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

// Record tags of the file body; the two words are read and ignored.
constexpr std::uint16_t kTagDepth = 1000;
constexpr std::uint16_t kTagColorFormat = 1001;
constexpr std::uint16_t kTagDocByteA = 1002;
constexpr std::uint16_t kTagDocByteB = 1003;
constexpr std::uint16_t kTagOrderTable = 1004;
constexpr std::uint16_t kTagOptions = 1005;
constexpr std::uint16_t kTagPageWord = 2000;
constexpr std::uint16_t kTagNextPageNumber = 2001;
constexpr std::uint16_t kTagPageByte = 2002;
constexpr std::uint16_t kTagPage = 2003;
constexpr std::uint16_t kTagCurrentPage = 2004;
constexpr std::uint16_t kTagPaletteWord = 3000;
constexpr std::uint16_t kTagColorCount = 3001;
constexpr std::uint16_t kTagNextPaletteNumber = 3002;
constexpr std::uint16_t kTagPalette = 3003;
constexpr std::uint16_t kTagCurrentPalette = 3004;
constexpr std::uint16_t kTagForegroundIndex = 3005;
constexpr std::uint16_t kTagBackgroundIndex = 3006;
constexpr std::uint16_t kTagForegroundColor = 3007;
constexpr std::uint16_t kTagBackgroundColor = 3008;
constexpr std::uint16_t kTagBank = 4000;

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
    AllocationBudget budget(kMaxCallBytes);
    CBinaryReader reader(&file);
    ContainerBody body;
    if (!InflateContainerBody(reader, &body, &errorText)) return false;
    AllocationBudget described(LoadBudgetFor(body.size));
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
    case kTagDepth:
      document->depth = reader.ReadByte();
      break;
    case kTagColorFormat:
      document->colorFormat = reader.ReadByte();
      break;
    case kTagDocByteA:
      document->docByteA = reader.ReadByte();
      break;
    case kTagDocByteB:
      document->docByteB = reader.ReadByte();
      break;
    case kTagOrderTable:
      if (!document->orderTable) document->orderTable = std::make_unique<COrderTable>();
      document->orderTable->Load(reader, length);
      break;
    case kTagOptions:
      ReadRecords(reader, length, DocumentOptionsRecordHandler, &document->options);
      break;
    case kTagPageWord:
      reader.ReadWord();
      break;
    case kTagNextPageNumber:
      document->nextPageNumber = reader.ReadDword();
      break;
    case kTagPageByte:
      document->pageByte = reader.ReadByte();
      break;
    case kTagPage: {
      ChargeAllocation(sizeof(CPage));  // a six-byte record makes a whole object
      auto* page = static_cast<CPage*>(document->pages.Append(std::make_unique<CPage>()));
      page->Load(reader, length, document->depth);
      break;
    }
    case kTagCurrentPage:
      document->pages.SetCurrent(static_cast<std::int32_t>(reader.ReadDword()));
      break;
    case kTagPaletteWord:
      reader.ReadWord();
      break;
    case kTagColorCount:
      document->colorCount = reader.ReadWord();
      break;
    case kTagNextPaletteNumber:
      document->nextPaletteNumber = reader.ReadDword();
      break;
    case kTagPalette: {
      ChargeAllocation(sizeof(CColorPalette));
      auto* palette =
          static_cast<CColorPalette*>(document->palettes.Append(std::make_unique<CColorPalette>()));
      palette->Load(reader, length, static_cast<int>(document->colorCount), document->depth,
                    document->colorFormat);
      break;
    }
    case kTagCurrentPalette:
      document->palettes.SetCurrent(static_cast<std::int32_t>(reader.ReadDword()));
      break;
    case kTagForegroundIndex:
      document->foregroundColor.index = static_cast<std::uint8_t>(reader.ReadDword());
      break;
    case kTagBackgroundIndex:
      document->backgroundColor.index = static_cast<std::uint8_t>(reader.ReadDword());
      break;
    case kTagForegroundColor:
      ReadRecords(reader, length, ColorSettingRecordHandler, &document->foregroundColor);
      break;
    case kTagBackgroundColor:
      ReadRecords(reader, length, ColorSettingRecordHandler, &document->backgroundColor);
      break;
    case kTagBank: {
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
