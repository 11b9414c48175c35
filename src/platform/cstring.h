// The framework's string: 8-bit code page 932 text with an explicit length
// (embedded zero bytes are kept).
#pragma once

#include <string>

namespace pelo {
using CString = std::string;
}  // namespace pelo
