#include "readers/picture_loader.h"

#include "io/container_reader.h"
#include "legacy/legacy_reader.h"
#include "pages/page.h"
#include "platform/allocation.h"

namespace pelo {

CPictureLoader::CPictureLoader(CFile& file) : file_(file), format_(DetectFileFormat(file)) {}

std::size_t CPictureLoader::CallBudget() const {
  const std::uint64_t remaining = file_.GetRemaining();
  return LoadBudgetFor(format_ == kFormatCurrent ? remaining * kMaxInflateRatio : remaining);
}

PluginResult CPictureLoader::ReadSize(PictureSize* size) {
  if (format_ == kFormatNone) return kResultUnknownFormat;
  if (format_ == kFormatLegacy) {
    const LegacyPictureSize legacy = ReadLegacyPictureSize(file_);
    size->width = static_cast<int>(legacy.width);
    size->height = static_cast<int>(legacy.height);
    size->bitsPerPixel = 8;
    return kResultSuccess;
  }
  CImageDocument document;
  if (!document.Load(file_)) return kResultRejected;
  const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
  if (page == nullptr) return kResultUnknownFormat;
  if (document.depth <= 8 && document.palettes.GetCurrent() == nullptr) return kResultUnknownFormat;
  size->width = page->width;
  size->height = page->height;
  size->bitsPerPixel = document.depth > 8 ? 24 : 8;
  return kResultSuccess;
}

PluginResult CPictureLoader::Load(CImageDocument* document) {
  switch (format_) {
    case kFormatLegacy:
      return ReadLegacyFile(file_, document);
    case kFormatCurrent:
      return document->Load(file_) ? kResultSuccess : kResultRejected;
    default:
      return kResultUnknownFormat;
  }
}

}  // namespace pelo
