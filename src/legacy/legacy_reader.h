// Reads a legacy single-page file ("PELO" plus a zero byte) into a document
// of one 8-bit page with a 256-colour palette and the file's layers.
#pragma once

#include <cstdint>

#include "document/image_document.h"
#include "platform/file.h"
#include "platform/plugin_result.h"

namespace pelo {

// Reads from the file's current position. Returns kResultSuccess with the
// document filled, kResultRejected for a wrong signature,
// kResultUnknownFormat when the document cannot be created (memory). A file
// that ends early raises the file layer's exception.
PluginResult ReadLegacyFile(CFile& file, CImageDocument* document);

// The picture's size as the header gives it, read from the file's current
// position without looking at the signature: a size is reported even for a
// file that ReadLegacyFile rejects. A file that ends early raises the file
// layer's exception.
struct LegacyPictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};
LegacyPictureSize ReadLegacyPictureSize(CFile& file);

// Whether the file at its current position starts with the signature
// ReadLegacyFile accepts; the position moves past the signature field. A
// file that ends early raises the file layer's exception.
bool ReadLegacySignature(CFile& file);

}  // namespace pelo
