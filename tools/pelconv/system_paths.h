// Paths the tool needs from the operating system.
#pragma once

#include <string>

namespace pelo::tools {

// The full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();
// The file name of the plug-in module on this system.
const char* PluginFileName();

}  // namespace pelo::tools
