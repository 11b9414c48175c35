// Walks a region of tagged records: 16-bit tag, 32-bit payload length,
// payload. After each handler the file is put at the next record, whatever
// the handler read, so unknown tags and short or long reads cost nothing.
#pragma once

#include <cstdint>

#include "io/binary_reader.h"

namespace pelo {

using RecordHandler = void (*)(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                               void* context);

// Walks length bytes from the file's current position and leaves the file at
// their end. A record whose end lies at 2^32 or beyond raises the file
// layer's exception, so every walk ends.
void ReadRecords(CBinaryReader& reader, std::uint32_t length, RecordHandler handler, void* context);

}  // namespace pelo
