#include "pages/page.h"

#include <cstdio>
#include <cstring>

#include "io/record_stream.h"
#include "pages/layer.h"
#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {

namespace {

// Record tags of a page body.
constexpr std::uint16_t kTagWidth = 1005;
constexpr std::uint16_t kTagHeight = 1006;
constexpr std::uint16_t kTagIndexFirst = 1007;
constexpr std::uint16_t kTagIndexSecond = 1008;
constexpr std::uint16_t kTagPageFlag = 2000;
constexpr std::uint16_t kTagNextLayerNumber = 2001;
constexpr std::uint16_t kTagUnused = 2002;
constexpr std::uint16_t kTagLayer = 2003;
constexpr std::uint16_t kTagCurrentLayer = 2004;
constexpr std::uint16_t kTagAmount = 3000;
constexpr std::uint16_t kTagOption1 = 3001;
constexpr std::uint16_t kTagOption2 = 3002;
constexpr std::uint16_t kTagFirstRecord = 3003;
constexpr std::uint16_t kTagSecondRecord = 3004;
constexpr std::uint16_t kTagByteMapSize = 4000;
constexpr std::uint16_t kTagByteMap = 4001;

CString DefaultName(std::int32_t number) {
  char text[32];
  std::snprintf(text, sizeof text, "%03dPage", static_cast<int>(number));
  return text;
}

std::size_t ByteMapSize(const CPage& page) {
  std::size_t size = 0;
  CheckedMul(static_cast<std::size_t>(page.byteMapWidth),
             static_cast<std::size_t>(page.byteMapHeight), &size);
  return size;
}

// A list copy leaves an empty slot where an item could not be cloned.
bool EveryItemCopied(const CItemList& source, const CItemList& copy) {
  for (int i = 0; i < source.GetCount(); ++i)
    if (source.GetAt(i) != nullptr && copy.GetAt(i) == nullptr) return false;
  return true;
}

// Layers take the page size known when their record is met.
void ReadLayer(CBinaryReader& reader, std::uint32_t length, CPage& page) {
  // A six-byte record makes a whole object: counted, so that a body of
  // nothing but empty layer records cannot fill the heap with them.
  ChargeAllocation(sizeof(CLayer));
  CListItem* item = page.layers.Append(std::make_unique<CLayer>());
  static_cast<CLayer*>(item)->Load(reader, length, page.width, page.height, page.depth);
}

// Low half columns, high half rows.
void ReadByteMapSize(CBinaryReader& reader, CPage& page) {
  const std::uint32_t value = reader.ReadDword();
  page.AllocateByteMap(static_cast<std::int32_t>(value & 0xFFFF),
                       static_cast<std::int32_t>(value >> 16));
}

// Only a record of exactly the announced size is taken.
void ReadByteMap(CBinaryReader& reader, std::uint32_t length, CPage& page) {
  if (!page.byteMap || length != ByteMapSize(page)) return;
  reader.ReadBytes(page.byteMap.get(), static_cast<int>(length), true);
}

void PageRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                       void* context) {
  CPage& page = *static_cast<CPage*>(context);
  if (ReadListItemRecord(reader, tag, length, page, page.name, page.number)) return;
  switch (tag) {
    case kTagWidth:
      page.width = reader.ReadWord();
      break;
    case kTagHeight:
      page.height = reader.ReadWord();
      break;
    case kTagIndexFirst:
      page.indexPair.first = static_cast<std::int32_t>(reader.ReadDword());
      break;
    case kTagIndexSecond:
      page.indexPair.second = static_cast<std::int32_t>(reader.ReadDword());
      break;
    case kTagPageFlag:
      page.pageFlag = reader.ReadByte();
      break;
    case kTagNextLayerNumber:
      page.nextLayerNumber = static_cast<std::int32_t>(reader.ReadDword());
      break;
    case kTagUnused:
      reader.ReadWord();
      break;
    case kTagLayer:
      ReadLayer(reader, length, page);
      break;
    case kTagCurrentLayer:
      page.layers.SetCurrent(static_cast<std::int32_t>(reader.ReadDword()));
      break;
    // Unlike a layer's, a page's settings never become the defaults.
    case kTagAmount:
      page.settings.SetAmount(reader.ReadDword(), false);
      break;
    case kTagOption1:
      page.settings.SetOption1(reader.ReadByte(), false);
      break;
    case kTagOption2:
      page.settings.SetOption2(reader.ReadByte(), false);
      break;
    case kTagFirstRecord:
      page.settings.firstRecord = reader.ReadValueRecord();
      break;
    case kTagSecondRecord:
      page.settings.secondRecord = reader.ReadValueRecord();
      break;
    case kTagByteMapSize:
      ReadByteMapSize(reader, page);
      break;
    case kTagByteMap:
      ReadByteMap(reader, length, page);
      break;
    default:
      break;
  }
}

}  // namespace

bool CPage::Create(int newWidth, int newHeight, int newDepth, int newNumber) {
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  number = newNumber;
  isReady = 1;
  if (!AddLayer(0, true)) {
    isReady = 0;
    return false;
  }
  name = DefaultName(number);
  return true;
}

bool CPage::AddLayer(int position, bool advanceNumber) {
  if (isReady == 0 || position < 0 || position > layers.GetCount()) return false;
  auto layer = std::make_unique<CLayer>();
  if (!layer->Create(width, height, depth, nextLayerNumber)) return false;
  // Wraps rather than overflows for a number near the limit taken from a file.
  if (advanceNumber)
    nextLayerNumber = static_cast<std::int32_t>(static_cast<std::uint32_t>(nextLayerNumber) + 1);
  layers.InsertAt(position, std::move(layer), true);
  return true;
}

void CPage::Load(CBinaryReader& reader, std::uint32_t length, int newDepth) {
  depth = newDepth;
  ReadRecords(reader, length, PageRecordHandler, this);
  isReady = 1;
}

void CPage::Clear() {
  layers.DeleteAll();
  byteMap.reset();
  isReady = 0;
}

void CPage::AllocateByteMap(std::int32_t columns, std::int32_t rows) {
  std::size_t size = 0;
  if (columns < 0 || rows < 0 ||
      !CheckedMul(static_cast<std::size_t>(columns), static_cast<std::size_t>(rows), &size))
    throw CMemoryException();
  byteMap = AllocateZeroedBytes(size);
  byteMapWidth = columns;
  byteMapHeight = rows;
}

bool CPage::CopyFrom(const CPage& source) {
  if (&source == this) return true;  // Clear would leave nothing to copy
  Clear();
  name = source.name;
  width = source.width;
  height = source.height;
  depth = source.depth;
  selected = source.selected;
  pageFlag = source.pageFlag;
  settings = source.settings;
  nextLayerNumber = source.nextLayerNumber;
  isReady = source.isReady;
  number = source.number;
  flagged = source.flagged;
  userFlag = source.userFlag;
  indexPair = source.indexPair;
  layers.CopyFrom(source.layers);
  byteMapWidth = source.byteMapWidth;
  byteMapHeight = source.byteMapHeight;
  const bool complete = EveryItemCopied(source.layers, layers);
  if (!source.byteMap) return complete;
  try {
    AllocateByteMap(source.byteMapWidth, source.byteMapHeight);
  } catch (const CMemoryException&) {
    return false;
  }
  std::memcpy(byteMap.get(), source.byteMap.get(), ByteMapSize(*this));
  return complete;
}

std::unique_ptr<CListItem> CPage::Clone() const {
  auto copy = std::make_unique<CPage>();
  if (!copy->CopyFrom(*this)) return nullptr;
  return copy;
}

}  // namespace pelo
