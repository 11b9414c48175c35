// Tells the two file formats apart from their first bytes.
#pragma once

#include "platform/file.h"

namespace pelo {

enum FileFormat { kFormatNone = 0, kFormatLegacy = 1, kFormatCurrent = 2 };

// Reads five bytes at the file's position and puts the position back. A file
// shorter than a magic never matches it; a read failure gives kFormatNone.
FileFormat DetectFileFormat(CFile& file);
// The same test over bytes already in memory (count of them available).
FileFormat DetectFormatOfBytes(const unsigned char* bytes, unsigned count);

}  // namespace pelo
