// Files that the archive module writes for a host: an entry, under its own
// name, in a folder the host names.
#pragma once

#include <cstddef>
#include <string>

#include "platform/cstring.h"

namespace pelo {

// Writes size bytes as the file name (code page 932 text) in folder,
// replacing a file of that name. The folder's name is in the process's ANSI
// code page on Windows (UTF-8 elsewhere) or, on Windows, UTF-16. False when
// the name cannot be converted or the file cannot be written whole; a part
// written is removed.
bool WriteFileInFolder(const char* folder, const CString& name, const void* data, std::size_t size);
#ifdef _WIN32
bool WriteFileInFolder(const wchar_t* folder, const CString& name, const void* data,
                       std::size_t size);

// Code page 932 text as UTF-16 and back, whatever the process's code page;
// empty when the text cannot be converted.
std::wstring WideFromCp932(const CString& text);
CString Cp932FromWide(const wchar_t* text);
#endif

}  // namespace pelo
