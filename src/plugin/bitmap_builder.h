// Turns a loaded document into the picture the host receives: a bottom-up
// device-independent bitmap in two movable blocks, the 40-byte header (with
// a 256-entry colour table at 8 bits) and the pixel rows.
#pragma once

#include "document/image_document.h"
#include "platform/local_memory.h"

namespace pelo {

// Composites the current page's layers, last to first, over the background.
// Returns 0 with both handles set to unlocked blocks that the caller passes
// on; 5 when a block cannot be allocated or locked; 8 when the document has
// no current page or, at 8 bits, no current palette. After a failure both
// handles are null.
int BuildPictureBitmap(const CImageDocument& document, LocalHandle* header, LocalHandle* pixels);

}  // namespace pelo
