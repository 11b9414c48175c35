// The project's own writer of tagged record streams and containers. Tests,
// fuzz seeds, benchmarks and the bundled samples state the files they need
// with it in a few readable lines.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pelo::test {

using Bytes = std::vector<std::uint8_t>;

void PutLe16(Bytes& out, std::uint16_t v);
void PutLe32(Bytes& out, std::uint32_t v);

class RecordWriter {
 public:
  RecordWriter& Byte(std::uint16_t tag, std::uint8_t value);
  RecordWriter& Word(std::uint16_t tag, std::uint16_t value);
  RecordWriter& Dword(std::uint16_t tag, std::uint32_t value);
  RecordWriter& Data(std::uint16_t tag, const Bytes& payload);
  RecordWriter& Text(std::uint16_t tag, std::string_view text);
  RecordWriter& Nested(std::uint16_t tag, const RecordWriter& body);
  // A header that declares length whatever follows it (for hostile streams).
  RecordWriter& Header(std::uint16_t tag, std::uint32_t length);
  // Bytes appended as they are, outside any record.
  RecordWriter& Raw(const Bytes& bytes);

  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

struct ContainerOptions {
  std::uint16_t version = 0;
  std::uint8_t compression = 1;
  int level = 6;  // zlib's default level
  // Declared body size; the true size of the body when left at -1.
  std::int64_t declaredSize = -1;
};

// "PELO2", version, compression mode, body size, zlib stream of the body.
Bytes MakeContainer(const Bytes& body, const ContainerOptions& options = {});

}  // namespace pelo::test
