#include "pages/layer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "io/record_stream.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/mbcs.h"

namespace pelo {

namespace {

// Record tags of a layer body.
constexpr std::uint16_t kTagVisible = 1005;
constexpr std::uint16_t kTagPixels = 1006;
constexpr std::uint16_t kTagLayerFlag = 1007;
constexpr std::uint16_t kTagSelection = 1008;
constexpr std::uint16_t kTagAmount = 2000;
constexpr std::uint16_t kTagOption1 = 2001;
constexpr std::uint16_t kTagOption2 = 2002;

CString DefaultName(std::int32_t number) {
  char text[32];
  std::snprintf(text, sizeof text, "Layer%03d", static_cast<int>(number));
  return text;
}

void LayerRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                        void* context) {
  CLayer& layer = *static_cast<CLayer*>(context);
  if (ReadListItemRecord(reader, tag, length, layer, layer.name, layer.number)) return;
  switch (tag) {
    case kTagVisible:
      layer.visible = reader.ReadByte();
      break;
    case kTagPixels:
      layer.LoadPixels(reader, length);
      break;
    case kTagLayerFlag:
      layer.layerFlag = reader.ReadByte();
      break;
    case kTagSelection:
      layer.selection.Load(reader, length, layer.bytesPerPixel, layer.width, layer.height);
      break;
    case kTagAmount:
      layer.settings.SetAmount(reader.ReadDword(), false);
      break;
    // A layer's option bytes become the defaults of every item made later.
    case kTagOption1:
      layer.settings.SetOption1(reader.ReadByte(), true);
      break;
    case kTagOption2:
      layer.settings.SetOption2(reader.ReadByte(), true);
      break;
    default:
      break;
  }
}

}  // namespace

int CLayer::BytesPerPixelOf(int depth) {
  switch (depth) {
    case 1:
    case 4:
    case 8:
      return 1;
    case 15:
    case 16:
      return 2;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      return 0;
  }
}

std::size_t CLayer::PixelBytes() const {
  std::size_t size = 0;
  if (width < 0 || height < 0 ||
      !CheckedMul3(static_cast<std::size_t>(width), static_cast<std::size_t>(height),
                   static_cast<std::size_t>(bytesPerPixel), &size) ||
      size > kMaxBufferBytes)
    throw CMemoryException();
  return size;
}

void CLayer::Fill(std::uint8_t value) {
  pixels.reset();
  uniform = true;
  fillValue = value;
}

void CLayer::MaterializePixels() {
  if (!uniform) return;
  std::unique_ptr<std::uint8_t[]> buffer = AllocateBytes(pixelsSize);
  std::memset(buffer.get(), fillValue, pixelsSize);
  pixels = std::move(buffer);
  uniform = false;
}

bool CLayer::Create(int newWidth, int newHeight, int newDepth, int newNumber) {
  // Changing the size of a layer that keeps its content would describe it
  // wrongly.
  if (pixels || uniform) return false;
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  number = newNumber;
  bytesPerPixel = BytesPerPixelOf(newDepth);
  if (bytesPerPixel == 0) return false;
  try {
    pixelsSize = PixelBytes();
  } catch (const CMemoryException&) {
    return false;
  }
  Fill(0);
  name = DefaultName(number);
  return true;
}

void CLayer::Load(CBinaryReader& reader, std::uint32_t length, int newWidth, int newHeight,
                  int newDepth) {
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  bytesPerPixel = BytesPerPixelOf(newDepth);
  FreePixels();
  pixelsSize = PixelBytes();
  // Until a pixel record comes, the layer is the zeros it would hold.
  Fill(0);
  ReadRecords(reader, length, LayerRecordHandler, this);
}

// A payload longer than the buffer fills the buffer; the walker steps over
// the rest. A shorter one fills the leading bytes. A payload read from an
// inflated body that covers the whole buffer is taken over in place.
void CLayer::LoadPixels(CBinaryReader& reader, std::uint32_t length) {
  if (uniform && length >= pixelsSize) {
    if (std::shared_ptr<std::uint8_t[]> shared = reader.GetFile()->Share(pixelsSize)) {
      pixels = std::move(shared);
      uniform = false;
      return;
    }
  }
  MaterializePixels();
  const std::size_t count = std::min<std::size_t>(length, pixelsSize);
  reader.ReadBytes(pixels.get(), static_cast<int>(count), true);
}

void CLayer::SetName(const CString& text) {
  name = TruncateToCharBoundary(text, kMaxNameBytes);
}

void CLayer::FreePixels() {
  pixels.reset();
  pixelsSize = 0;
  uniform = false;
  fillValue = 0;
}

bool CLayer::CopyPixelsFrom(const CLayer& source) {
  if (!Create(source.width, source.height, source.depth, 0)) return false;
  const std::size_t held = std::min(pixelsSize, source.pixelsSize);
  if (source.uniform && held == pixelsSize) {
    fillValue = source.fillValue;
    return true;
  }
  if (!source.uniform && !source.pixels) return true;
  try {
    MaterializePixels();
  } catch (const CMemoryException&) {
    return false;
  } catch (const std::bad_alloc&) {  // the shared buffer's bookkeeping
    return false;
  }
  if (source.uniform)
    std::memset(pixels.get(), source.fillValue, held);
  else
    std::memcpy(pixels.get(), source.pixels.get(), held);
  return true;
}

bool CLayer::CopyFrom(const CLayer& source) {
  if (&source == this) return true;  // FreePixels would leave nothing to copy
  FreePixels();
  if (!CopyPixelsFrom(source)) return false;
  const bool selectionCopied = selection.CopyFrom(source.selection);
  name = source.name;
  visible = source.visible;
  selected = source.selected;
  settings = source.settings;
  layerFlag = source.layerFlag;
  flagged = source.flagged;
  userFlag = source.userFlag;
  number = source.number;
  return selectionCopied;
}

std::unique_ptr<CListItem> CLayer::Clone() const {
  auto copy = std::make_unique<CLayer>();
  if (!copy->CopyFrom(*this)) return nullptr;
  return copy;
}

}  // namespace pelo
