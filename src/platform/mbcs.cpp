#include "platform/mbcs.h"

namespace pelo {

bool IsLeadByteCp932(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
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
