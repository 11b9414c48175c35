// The container of a current-format file: a 12-byte header ("PELO2",
// version, compression mode, body size) followed by one zlib stream that
// inflates to exactly the declared number of body bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "platform/cstring.h"

namespace pelo {

// Shared: the layers whose pixels lie in the body keep it alive.
struct ContainerBody {
  std::shared_ptr<std::uint8_t[]> bytes;
  std::uint32_t size = 0;
};

// Reads the header at the reader's position and inflates the body. On a
// refused header or a failed inflation it stores the reason in *errorText
// and returns false; short reads and allocation failures raise the file
// layer's and the memory exception.
bool InflateContainerBody(CBinaryReader& reader, ContainerBody* body, CString* errorText);

// The most that deflate data can expand: a declared body larger than this
// many times the remaining input is refused as a failed inflation.
inline constexpr std::uint64_t kMaxInflateRatio = 1032;

// Size of one chunk of compressed input handed to zlib.
inline constexpr std::uint32_t kInflateChunkBytes = 10240;

}  // namespace pelo
