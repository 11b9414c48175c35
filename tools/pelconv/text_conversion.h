// The editor stores names and the loader's messages as code page 932 text;
// terminals and files want UTF-8.
#pragma once

#include <string>

namespace pelo::tools {

// Converts code page 932 text to UTF-8. Bytes that do not form a character
// of the code page are kept visible as "\xNN" rather than dropped.
std::string Cp932ToUtf8(const std::string& text);

}  // namespace pelo::tools
