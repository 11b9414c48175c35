// A colour setting of the document (foreground, background): a palette
// index, a colour in the byte order of a 24-bit pixel, and editor state.
#pragma once

#include <array>
#include <cstdint>

#include "io/binary_reader.h"

namespace pelo {

class CColorSetting {
 public:
  virtual ~CColorSetting() = default;

  std::uint8_t index = 0;
  std::array<std::uint8_t, 3> color{};  // blue, green, red
  std::uint8_t level = 255;
  std::array<std::uint16_t, 3> components{};
  std::uint8_t mode = 0;
};

// Context: the CColorSetting. Each tag reads a fixed number of bytes
// whatever the payload length: 1000 one byte into index, 1001 three bytes
// into color in file order, 1002 one byte into level, 1003 three 16-bit
// values into components, 1004 one byte into mode.
void ColorSettingRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length,
                               void* context);

}  // namespace pelo
