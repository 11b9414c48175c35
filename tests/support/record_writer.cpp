#include "support/record_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace pelo::test {

void PutLe16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(Bytes& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

RecordWriter& RecordWriter::Header(std::uint16_t tag, std::uint32_t length) {
  PutLe16(bytes_, tag);
  PutLe32(bytes_, length);
  return *this;
}

RecordWriter& RecordWriter::Data(std::uint16_t tag, const Bytes& payload) {
  Header(tag, static_cast<std::uint32_t>(payload.size()));
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
  return *this;
}

RecordWriter& RecordWriter::Byte(std::uint16_t tag, std::uint8_t value) {
  return Data(tag, Bytes{value});
}

RecordWriter& RecordWriter::Word(std::uint16_t tag, std::uint16_t value) {
  Bytes payload;
  PutLe16(payload, value);
  return Data(tag, payload);
}

RecordWriter& RecordWriter::Dword(std::uint16_t tag, std::uint32_t value) {
  Bytes payload;
  PutLe32(payload, value);
  return Data(tag, payload);
}

RecordWriter& RecordWriter::Text(std::uint16_t tag, std::string_view text) {
  return Data(tag, Bytes(text.begin(), text.end()));
}

RecordWriter& RecordWriter::Nested(std::uint16_t tag, const RecordWriter& body) {
  return Data(tag, body.bytes());
}

RecordWriter& RecordWriter::Raw(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Bytes MakeContainer(const Bytes& body, const ContainerOptions& options) {
  Bytes out{'P', 'E', 'L', 'O', '2'};
  PutLe16(out, options.version);
  out.push_back(options.compression);
  PutLe32(out, options.declaredSize < 0 ? static_cast<std::uint32_t>(body.size())
                                        : static_cast<std::uint32_t>(options.declaredSize));
  uLongf bound = compressBound(static_cast<uLong>(body.size()));
  Bytes packed(bound);
  if (compress2(packed.data(), &bound, body.data(), static_cast<uLong>(body.size()),
                options.level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(bound));
  return out;
}

}  // namespace pelo::test
