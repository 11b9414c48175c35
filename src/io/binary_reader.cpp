#include "io/binary_reader.h"

#include "platform/exception.h"

namespace pelo {

namespace {
std::uint32_t Le32(const std::uint8_t* b) {
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}
}  // namespace

int CBinaryReader::ReadBytes(void* buffer, int count, bool mustFill) {
  if (count <= 0) {
    if (mustFill && count < 0) throw CFileException::EndOfFile();
    return 0;
  }
  const std::uint32_t got = file_->Read(buffer, static_cast<std::uint32_t>(count));
  if (mustFill && got < static_cast<std::uint32_t>(count)) throw CFileException::EndOfFile();
  return static_cast<int>(got);
}

std::uint8_t CBinaryReader::ReadByte() {
  std::uint8_t b = 0;
  ReadBytes(&b, 1, true);
  return b;
}

std::uint16_t CBinaryReader::ReadWord() {
  std::uint8_t b[2];
  ReadBytes(b, 2, true);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t CBinaryReader::ReadDword() {
  std::uint8_t b[4];
  ReadBytes(b, 4, true);
  return Le32(b);
}

std::array<std::uint32_t, 4> CBinaryReader::ReadRect() {
  std::uint8_t b[16];
  ReadBytes(b, 16, true);
  return {Le32(b), Le32(b + 4), Le32(b + 8), Le32(b + 12)};
}

CString CBinaryReader::ReadString(int length) {
  const int count = length & 0xFFFF;
  CString text(static_cast<std::size_t>(count), '\0');
  ReadBytes(text.data(), count, true);
  return text;
}

CValueRecord CBinaryReader::ReadValueRecord() {
  CValueRecord record;
  record.value = ReadDword();
  record.flag = ReadByte();
  return record;
}

}  // namespace pelo
