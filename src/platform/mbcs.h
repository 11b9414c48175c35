// Text helpers for code page 932 (Shift_JIS) strings.
#pragma once

#include <cstddef>
#include <string>

namespace pelo {

// True for a byte that starts a double-byte character of code page 932.
bool IsLeadByteCp932(unsigned char c);
// The longest prefix of text of at most maxBytes bytes that does not split a
// double-byte character.
std::string TruncateToCharBoundary(const std::string& text, std::size_t maxBytes);

}  // namespace pelo
