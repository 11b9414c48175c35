// What the tool needs from the operating system: paths, file replacement
// and the standard streams.
#pragma once

#include <cstdio>
#include <string>

namespace pelo::tools {

// The full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();
// The file name of the plug-in module on this system.
const char* PluginFileName();

// Replaces target by source in one step, even when target exists. False,
// with errno set, when it cannot.
bool MoveFileOver(const std::string& source, const std::string& target);
// Standard input and output carry bytes unchanged, and the console shows
// UTF-8 text.
void PrepareStandardStreams();
bool IsTerminal(std::FILE* stream);

}  // namespace pelo::tools
