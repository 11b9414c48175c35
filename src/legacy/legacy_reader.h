// Reads a legacy single-page file ("PELO" plus a zero byte) into a document
// of one 8-bit page with a 256-colour palette and the file's layers.
#pragma once

#include "document/image_document.h"
#include "platform/file.h"

namespace pelo {

// Reads from the file's current position. Returns 0 with the document
// filled, 3 for a wrong signature, 8 when the document cannot be created
// (memory). A file that ends early raises the file layer's exception.
int ReadLegacyFile(CFile& file, CImageDocument* document);

}  // namespace pelo
