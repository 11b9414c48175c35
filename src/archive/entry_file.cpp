#include "archive/entry_file.h"

#include <cstring>

#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {
namespace {

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

PluginResult PlanEntryFile(const CImageDocument& document, const PictureChoice& choice,
                           PicturePlan* plan, std::size_t* fileBytes) {
  *fileBytes = 0;
  const PluginResult planned = PlanPicture(document, choice, plan);
  if (planned != kResultSuccess) return planned;
  // Both parts are within kMaxBufferBytes, so the sum fits the 32-bit size
  // fields of the file header.
  *fileBytes = kBmpFileHeaderBytes + plan->headerBytes + plan->pixelBytes;
  return kResultSuccess;
}

void DrawEntryFile(const PicturePlan& plan, std::uint8_t* file) {
  const std::size_t bitsOffset = kBmpFileHeaderBytes + plan.headerBytes;
  std::memset(file, 0, kBmpFileHeaderBytes);
  file[0] = 'B';
  file[1] = 'M';
  PutLe32(file + 2, static_cast<std::uint32_t>(bitsOffset + plan.pixelBytes));
  PutLe32(file + 10, static_cast<std::uint32_t>(bitsOffset));
  DrawPicture(plan, file + kBmpFileHeaderBytes, file + bitsOffset);
}

PluginResult BuildEntryFile(const CImageDocument& document, const PictureChoice& choice,
                            LocalHandle* block) {
  *block = nullptr;
  PicturePlan plan;
  std::size_t bytes = 0;
  if (const PluginResult planned = PlanEntryFile(document, choice, &plan, &bytes);
      planned != kResultSuccess)
    return planned;
  try {
    ChargeAllocation(bytes);
  } catch (const CMemoryException&) {
    return kResultNoMemory;
  }
  *block = AllocMovableBlock(bytes);
  auto* file = static_cast<std::uint8_t*>(LockBlock(*block));
  if (file == nullptr) {
    FreeBlock(*block);
    *block = nullptr;
    return kResultNoMemory;
  }
  DrawEntryFile(plan, file);
  UnlockBlock(*block);
  return kResultSuccess;
}

}  // namespace pelo
