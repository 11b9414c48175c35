// Unbuffered little-endian reads over a file object. Every read is one Read
// call on the file at its current position; the reader keeps no other state.
#pragma once

#include <array>
#include <cstdint>

#include "io/value_record.h"
#include "platform/cstring.h"
#include "platform/file.h"

namespace pelo {

class CBinaryReader {
 public:
  CBinaryReader() = default;
  explicit CBinaryReader(CFile* file) : file_(file) {}
  virtual ~CBinaryReader() = default;

  CFile* GetFile() const { return file_; }

  // Reads up to count bytes into buffer and returns how many arrived. With
  // mustFill a short count raises CFileException; the bytes that did arrive
  // are already stored and consumed.
  int ReadBytes(void* buffer, int count, bool mustFill);
  std::uint8_t ReadByte();
  std::uint16_t ReadWord();
  std::uint32_t ReadDword();
  // Sixteen bytes in one read, as four little-endian values in file order.
  std::array<std::uint32_t, 4> ReadRect();
  // length counts modulo 65,536: only its low 16 bits are read.
  CString ReadString(int length);
  CValueRecord ReadValueRecord();

 private:
  CFile* file_ = nullptr;
};

}  // namespace pelo
