// Reading from a file handle of the operating system that the host owns.
#pragma once

#include <cstdint>

namespace pelo {

// Reads up to count bytes at the handle's current position (ReadFile on
// Windows, read() of a descriptor elsewhere) and leaves the position where
// the read ends. False when the read fails.
bool ReadOsHandle(std::uintptr_t handle, void* buffer, std::uint32_t count, std::uint32_t* got);

}  // namespace pelo
