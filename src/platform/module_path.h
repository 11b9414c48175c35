// The full path of the module (DLL or shared library) that holds this code.
#pragma once

#include <string>

namespace pelo {

std::string GetModulePath();
// The path with its extension (from the last dot of the last component)
// replaced by ext, or ext appended when there is none.
std::string RenameExtension(const std::string& path, const char* ext);

}  // namespace pelo
