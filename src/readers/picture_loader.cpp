#include "readers/picture_loader.h"

#include "io/container_reader.h"
#include "legacy/legacy_reader.h"
#include "pages/page.h"
#include "platform/allocation.h"

namespace pelo {

bool LayoutPicture(const PictureSize& size, PictureLayout* layout) {
  if (size.width < 0 || size.height < 0) return false;
  const std::size_t bytesPerPixel = size.bitsPerPixel > 8 ? 3 : 1;
  if (!CheckedMul(static_cast<std::size_t>(size.width), bytesPerPixel, &layout->rowBytes) ||
      layout->rowBytes > kMaxBufferBytes)
    return false;
  layout->stride = (layout->rowBytes + 3) & ~static_cast<std::size_t>(3);
  return CheckedMul(layout->stride, static_cast<std::size_t>(size.height), &layout->pixelBytes) &&
         layout->pixelBytes <= kMaxBufferBytes;
}

namespace {

// A legacy header's size, with sizes past the int range made negative so
// that they fail the layout.
PictureSize LegacySize(CFile& file) {
  const LegacyPictureSize legacy = ReadLegacyPictureSize(file);
  PictureSize size;
  size.width = legacy.width > 0x7FFFFFFF ? -1 : static_cast<int>(legacy.width);
  size.height = legacy.height > 0x7FFFFFFF ? -1 : static_cast<int>(legacy.height);
  return size;
}

bool Fits(const PictureSize& size) {
  PictureLayout layout;
  return LayoutPicture(size, &layout);
}

// Whether the picture of the legacy file at the position fits:
// kResultSuccess, or the code its load gives, which checks the signature
// first.
PluginResult CheckLegacySize(CFile& file, PictureSize* size) {
  const std::uint64_t start = file.GetPosition();
  *size = LegacySize(file);
  if (Fits(*size)) return kResultSuccess;
  file.Seek(start);
  return ReadLegacySignature(file) ? kResultNoMemory : kResultRejected;
}

}  // namespace

CPictureLoader::CPictureLoader(CFile& file) : file_(file), format_(DetectFileFormat(file)) {}

PluginResult CPictureLoader::ReadSize(PictureSize* size) {
  if (format_ == kFormatNone) return kResultUnknownFormat;
  if (format_ == kFormatLegacy) return CheckLegacySize(file_, size);
  CImageDocument document;
  if (!document.Load(file_)) return kResultRejected;
  const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
  if (page == nullptr) return kResultUnknownFormat;
  if (document.depth <= 8 && document.palettes.GetCurrent() == nullptr) return kResultUnknownFormat;
  size->width = page->width;
  size->height = page->height;
  size->bitsPerPixel = document.depth > 8 ? 24 : 8;
  return Fits(*size) ? kResultSuccess : kResultNoMemory;
}

PluginResult CPictureLoader::Load(CImageDocument* document) {
  switch (format_) {
    case kFormatLegacy: {
      const std::uint64_t start = file_.GetPosition();
      PictureSize size;
      if (const PluginResult fits = CheckLegacySize(file_, &size); fits != kResultSuccess)
        return fits;
      file_.Seek(start);
      return ReadLegacyFile(file_, document);
    }
    case kFormatCurrent:
      return document->Load(file_) ? kResultSuccess : kResultRejected;
    default:
      return kResultUnknownFormat;
  }
}

}  // namespace pelo
