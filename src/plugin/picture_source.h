// The file object for a picture source: a disk file positioned at the
// caller's offset, or a read-only memory file over the caller's bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/file.h"

namespace pelo {

// Null when a file source cannot be opened; a bad offset raises the file
// layer's exception.
std::unique_ptr<CFile> OpenPictureSource(const char* source, std::intptr_t positionOrSize,
                                         unsigned int flag);
bool IsMemorySource(unsigned int flag);

}  // namespace pelo
