#include <windows.h>

#include <cstdio>

#include "text_conversion.h"

namespace pelo::tools {

namespace {

constexpr UINT kCodePage932 = 932;

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// One character of code page 932 (one or two bytes) as UTF-8, or "\xNN" for
// a byte that starts no character.
std::string ConvertCharacter(const char* bytes, int count) {
  wchar_t wide[2];
  const int n = ::MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
  if (n <= 0) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned char>(bytes[0]));
    return text;
  }
  char utf8[8];
  const int m = ::WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
  return std::string(utf8, m > 0 ? static_cast<std::size_t>(m) : 0);
}

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    const int count = pair ? 2 : 1;
    const std::string converted = ConvertCharacter(text.data() + i, count);
    if (pair && converted.rfind("\\x", 0) == 0) {
      out += converted;  // a bad pair: show its first byte, go on with the second
      ++i;
      continue;
    }
    out += converted;
    i += static_cast<std::size_t>(count);
  }
  return out;
}

}  // namespace pelo::tools
