// Private profile (INI) files: GetPrivateProfileIntA and
// WritePrivateProfileStringA on Windows, our own reader and writer with the
// same observable rules elsewhere.
#pragma once

#include <string>

namespace pelo {

// The key's value as a decimal integer: defaultValue when the file, section
// or key is missing; 0 when the value does not begin with a number.
int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path);
// Stores value under section and key, creating the file and the section as
// needed. False when the file cannot be written.
bool WriteProfileString(const char* section, const char* key, const char* value,
                        const std::string& path);

}  // namespace pelo
