#include "io/record_stream.h"

#include "platform/exception.h"

namespace pelo {

void ReadRecords(CBinaryReader& reader, std::uint32_t length, RecordHandler handler,
                 void* context) {
  CFile& file = *reader.GetFile();
  const std::uint64_t start = file.GetPosition();
  const std::uint64_t end = start + length;
  // Positions are 32-bit in the format: a region or a record that ends past
  // 2^32 cannot be sound, and no handler gets to read into one.
  if (end > 0xFFFFFFFFu) throw CFileException::BadSeek();
  std::uint64_t next = start;
  while (next < end) {
    const std::uint16_t tag = reader.ReadWord();
    const std::uint32_t size = reader.ReadDword();
    next += 6 + static_cast<std::uint64_t>(size);
    if (next > 0xFFFFFFFFu) throw CFileException::BadSeek();
    handler(reader, tag, size, context);
    if (file.GetPosition() != next) file.Seek(next);
  }
  file.Seek(end);
}

}  // namespace pelo
