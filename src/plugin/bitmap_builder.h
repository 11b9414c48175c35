// Turns a loaded document into the picture the host receives: a bottom-up
// device-independent bitmap in two movable blocks, the 40-byte header (with
// a 256-entry colour table at 8 bits) and the pixel rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/image_document.h"
#include "platform/local_memory.h"

namespace pelo {

// Composites the current page's layers, last to first, over the background.
// Returns 0 with both handles set to unlocked blocks that the caller passes
// on; 5 when a block cannot be allocated or locked; 8 when the document has
// no current page or, at 8 bits, no current palette. After a failure both
// handles are null.
int BuildPictureBitmap(const CImageDocument& document, LocalHandle* header, LocalHandle* pixels);

// The pixel rows alone, as BuildPictureBitmap writes them, into a block
// that the caller owns: all layers or the visible ones. False, writing
// nothing, when the document has no current page or bytes is not the size
// of its picture's rows.
bool ComposePicture(const CImageDocument& document, bool allLayers, std::uint8_t* bits,
                    std::size_t bytes);

}  // namespace pelo
