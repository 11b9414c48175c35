#include <windows.h>

#include "platform/file_name.h"

namespace pelo {

// The system's own lead-byte table of the ANSI code page; a lead byte at the
// very end stands alone.
std::size_t AnsiCharLength(const char* text) {
  return ::IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != 0 ? 2 : 1;
}

}  // namespace pelo
