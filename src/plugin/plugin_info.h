// What both modules tell a host about themselves: the texts of
// GetPluginInfo and the answer of IsSupported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace pelo {

// Copies the whole text with its terminator when the buffer holds it, else
// the first length units with none; returns the units copied.
template <typename Char>
int CopyPluginInfo(const Char* const (&texts)[4], int index, Char* buffer, int length) {
  if (static_cast<unsigned>(index) >= 4 || length <= 0 || buffer == nullptr) return 0;
  const Char* text = texts[index];
  int count = static_cast<int>(std::char_traits<Char>::length(text)) + 1;
  if (count >= length) count = length;
  std::memcpy(buffer, text, static_cast<std::size_t>(count) * sizeof(Char));
  return count;
}

// IsSupported of both modules, catching everything: 1 when the name has the
// .pel extension and the file's first bytes open a format, else 0. The
// source word is a handle of the host's open file when it is below 0x10000
// (in all its bits), else the address of the file's first bytes.
int IsSupportedFile(const char* fileName, std::uintptr_t sourceWord);
#ifdef _WIN32
int IsSupportedFile(const wchar_t* fileName, std::uintptr_t sourceWord);
#endif

}  // namespace pelo
