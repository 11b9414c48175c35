#include "platform/file_name.h"

namespace pelo {

namespace {

constexpr bool IsSeparator(unsigned c) {
  return c == '\\' || c == '/' || c == ':';
}

constexpr unsigned AsciiLower(unsigned c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

template <typename Text>
bool EqualsAscii(Text text, std::string_view ascii) {
  if (text.size() != ascii.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto unit = static_cast<unsigned>(
        static_cast<std::make_unsigned_t<typename Text::value_type>>(text[i]));
    if (AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return true;
}

}  // namespace

std::string AnsiPathExtension(const char* path) {
  if (path == nullptr) return {};
  const char* lastDot = nullptr;
  for (const char* p = path; *p != 0;) {
    const std::size_t length = AnsiCharLength(p);
    if (length == 1 && IsSeparator(static_cast<unsigned char>(*p))) lastDot = nullptr;
    if (length == 1 && *p == '.') lastDot = p;
    p += length;
  }
  return lastDot == nullptr ? std::string() : std::string(lastDot);
}

// A UTF-16 surrogate never equals a separator or a dot, so every unit can be
// looked at on its own.
std::wstring WidePathExtension(const wchar_t* path) {
  if (path == nullptr) return {};
  const wchar_t* lastDot = nullptr;
  for (const wchar_t* p = path; *p != 0; ++p) {
    if (IsSeparator(static_cast<unsigned>(*p))) lastDot = nullptr;
    if (*p == L'.') lastDot = p;
  }
  return lastDot == nullptr ? std::wstring() : std::wstring(lastDot);
}

bool EqualsAsciiIgnoreCase(std::string_view text, std::string_view ascii) {
  return EqualsAscii(text, ascii);
}

bool EqualsAsciiIgnoreCase(std::wstring_view text, std::string_view ascii) {
  return EqualsAscii(text, ascii);
}

}  // namespace pelo
