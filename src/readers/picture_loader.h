// The one way from a picture file to a document: the format is told from
// the first bytes, then the legacy reader or the document's own loader reads
// the rest. The exported entry points, pelconv and the tests all read
// pictures through it.
#pragma once

#include <cstddef>

#include "document/image_document.h"
#include "platform/file.h"
#include "platform/plugin_result.h"
#include "readers/file_format.h"

namespace pelo {

// What GetPictureInfo reports: the size of the picture GetPicture would
// deliver, and its bits per pixel (8 or 24).
struct PictureSize {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 8;
};

// Where the pixel rows of a picture lie: each row's bytes without and with
// its padding to four bytes, and all rows together.
struct PictureLayout {
  std::size_t rowBytes = 0;
  std::size_t stride = 0;
  std::size_t pixelBytes = 0;
};

// The layout of a picture of that size; false for a negative size or when
// the rows would pass the buffer limit. A picture that fails it is refused
// from both calls with kResultNoMemory.
bool LayoutPicture(const PictureSize& size, PictureLayout* layout);

class CPictureLoader {
 public:
  // Detects the format at the file's position, which stays where it is.
  explicit CPictureLoader(CFile& file);

  FileFormat format() const { return format_; }

  // The size alone. A legacy file gives its header's size without its
  // signature being checked; a current-format file is loaded whole and gives
  // its current page, or kResultUnknownFormat when it has no current page or,
  // at 8 bits and below, no current palette (GetPicture could not deliver
  // that picture). kResultRejected when the loader refuses the file,
  // kResultNoMemory when the picture would pass the buffer limit (for a
  // legacy file whose signature is wrong, kResultRejected, as its load).
  PluginResult ReadSize(PictureSize* size);

  // The whole document: kResultSuccess, kResultRejected (a legacy signature
  // that is not "PELO" and its zero byte, or a current-format file that the
  // loader refused, its reason in errorText), kResultUnknownFormat (neither
  // format, or a legacy document that cannot be made), kResultNoMemory (a
  // legacy header whose picture would pass the buffer limit, refused before
  // anything is read past it).
  PluginResult Load(CImageDocument* document);

  // Both raise the file layer's exception when a legacy file ends early;
  // the loader of the current format catches its own.

 private:
  CFile& file_;
  FileFormat format_;
};

}  // namespace pelo
