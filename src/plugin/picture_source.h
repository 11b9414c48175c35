// The file object for a picture source: a disk file positioned at the
// caller's offset, or a read-only memory file over the caller's bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/file.h"

namespace pelo {

// Null when a file source cannot be opened; a bad offset raises the file
// layer's exception. A file name is in the process's ANSI code page (UTF-8
// natively) or, on Windows, UTF-16; a memory source is the same bytes either
// way.
std::unique_ptr<CFile> OpenPictureSource(const char* source, std::intptr_t positionOrSize,
                                         unsigned int flag);
#ifdef _WIN32
std::unique_ptr<CFile> OpenPictureSource(const wchar_t* source, std::intptr_t positionOrSize,
                                         unsigned int flag);
#endif
bool IsMemorySource(unsigned int flag);

}  // namespace pelo
