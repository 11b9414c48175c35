// The file object for a picture source: a disk file positioned at the
// caller's offset, or a read-only memory file over the caller's bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/allocation.h"
#include "platform/file.h"
#include "platform/plugin_result.h"
#include "readers/file_format.h"
#include "readers/picture_loader.h"

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

// Runs body over the loader of the source's file object, with the call's
// allocation budget open; open failures give 6, and every exception ends as
// 8. Char is char for the plain entry points, wchar_t for the W forms.
template <typename Char, typename Body>
int WithPictureSource(const Char* source, std::intptr_t positionOrSize, unsigned int flag,
                      Body body) {
  try {
    std::unique_ptr<CFile> file = OpenPictureSource(source, positionOrSize, flag);
    if (!file) return kResultOpenFailed;
    CPictureLoader loader(*file);
    if (loader.format() == kFormatNone) return kResultUnknownFormat;
    AllocationBudget budget(kMaxCallBytes);
    return body(loader);
  } catch (...) {
  }
  return kResultUnknownFormat;
}

}  // namespace pelo
