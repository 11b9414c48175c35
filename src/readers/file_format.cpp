#include "readers/file_format.h"

#include <cstring>

#include "platform/exception.h"

namespace pelo {

FileFormat DetectFormatOfBytes(const unsigned char* bytes, unsigned count) {
  if (count >= 5 && std::memcmp(bytes, "PELO2", 5) == 0) return kFormatCurrent;
  if (count >= 4 && std::memcmp(bytes, "PELO", 4) == 0) return kFormatLegacy;
  return kFormatNone;
}

FileFormat DetectFileFormat(CFile& file) {
  try {
    const std::uint64_t at = file.GetPosition();
    unsigned char magic[5];
    const std::uint32_t got = file.Read(magic, sizeof magic);
    file.Seek(at);
    return DetectFormatOfBytes(magic, got);
  } catch (const CException&) {
    return kFormatNone;
  }
}

}  // namespace pelo
