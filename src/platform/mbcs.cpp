#include "platform/mbcs.h"

#include <cctype>

namespace pelo {

bool IsLeadByteCp932(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool EqualsIgnoreCaseCp932(const char* a, const char* b) {
  auto pa = reinterpret_cast<const unsigned char*>(a);
  auto pb = reinterpret_cast<const unsigned char*>(b);
  while (*pa != 0 && *pb != 0) {
    const bool leadA = IsLeadByteCp932(*pa) && pa[1] != 0;
    const bool leadB = IsLeadByteCp932(*pb) && pb[1] != 0;
    if (leadA != leadB) return false;
    if (leadA) {
      if (pa[0] != pb[0] || pa[1] != pb[1]) return false;
      pa += 2;
      pb += 2;
      continue;
    }
    if (std::tolower(*pa) != std::tolower(*pb)) return false;
    ++pa;
    ++pb;
  }
  return *pa == *pb;
}

std::string PathExtension(const char* path) {
  if (path == nullptr) return {};
  // Walk character by character so that a trail byte equal to '\\' inside a
  // double-byte character is not taken for a separator.
  const auto* p = reinterpret_cast<const unsigned char*>(path);
  const unsigned char* lastDot = nullptr;
  while (*p != 0) {
    if (IsLeadByteCp932(*p) && p[1] != 0) {
      p += 2;
      continue;
    }
    if (*p == '\\' || *p == '/' || *p == ':') {
      lastDot = nullptr;
    } else if (*p == '.') {
      lastDot = p;
    }
    ++p;
  }
  return lastDot == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(lastDot));
}

std::string TruncateToCharBoundary(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < maxBytes) {
    const std::size_t width =
        IsLeadByteCp932(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace pelo
