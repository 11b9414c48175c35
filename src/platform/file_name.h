// File names as the host hands them over: bytes in the process's ANSI code
// page for the plain entry points, UTF-16 for the W forms on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelo {

// Bytes of the character that starts at text (never 0 for a non-empty text)
// by the lead-byte rules of the process's ANSI code page on Windows, by the
// C library's multibyte rules of the current locale elsewhere. A byte that
// starts no valid character counts as one.
std::size_t AnsiCharLength(const char* text);

// The extension of a path as the C runtime's path splitting gives it: from
// the last dot of the last component to the end, empty when there is none.
// The ANSI form walks whole characters, so a trail byte that equals a
// separator or a dot is never taken for one.
std::string AnsiPathExtension(const char* path);
std::wstring WidePathExtension(const wchar_t* path);

// Compares a text with an ASCII text, ASCII letters without regard to case;
// any other unit must match exactly.
bool EqualsAsciiIgnoreCase(std::string_view text, std::string_view ascii);
bool EqualsAsciiIgnoreCase(std::wstring_view text, std::string_view ascii);

}  // namespace pelo
