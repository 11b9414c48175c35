// Text helpers for code page 932 (Shift_JIS) strings.
#pragma once

#include <cstddef>
#include <string>

namespace pelo {

// True for a byte that starts a double-byte character of code page 932.
bool IsLeadByteCp932(unsigned char c);
// Compares two texts as the C runtime's multibyte case-insensitive compare
// does for code page 932: a double-byte character is one unit compared
// exactly, single-byte ASCII letters compare without regard to case.
bool EqualsIgnoreCaseCp932(const char* a, const char* b);
// The extension of a path as the C runtime's path splitting gives it: from
// the last dot of the last component to the end, empty when there is none.
std::string PathExtension(const char* path);
// The longest prefix of text of at most maxBytes bytes that does not split a
// double-byte character.
std::string TruncateToCharBoundary(const std::string& text, std::size_t maxBytes);

}  // namespace pelo
