// Reading fixtures back: a record body written with RecordWriter, walked
// from a memory file by a handler or an object's Load.
#pragma once

#include <cstdint>
#include <utility>

#include "io/binary_reader.h"
#include "io/record_stream.h"
#include "platform/mem_file.h"
#include "support/record_writer.h"

namespace pelo::test {

// Calls load(reader, length) with a reader at the start of bytes, where
// length is the size of bytes, and returns the file position afterwards.
template <class Load>
std::uint64_t LoadBody(const Bytes& bytes, Load&& load) {
  CMemFile file(bytes.data(), bytes.size());
  CBinaryReader reader(&file);
  std::forward<Load>(load)(reader, static_cast<std::uint32_t>(bytes.size()));
  return file.GetPosition();
}

// Walks the whole of bytes with handler and context.
inline std::uint64_t WalkBody(const Bytes& bytes, RecordHandler handler, void* context) {
  return LoadBody(bytes, [&](CBinaryReader& reader, std::uint32_t length) {
    ReadRecords(reader, length, handler, context);
  });
}

}  // namespace pelo::test
