#include <cwchar>

#include "platform/file_name.h"

namespace pelo {

// mbrlen with a state of its own: the module may be called from several
// threads at once.
std::size_t AnsiCharLength(const char* text) {
  std::mbstate_t state{};
  const std::size_t length = std::mbrlen(text, MB_CUR_MAX, &state);
  if (length == 0 || length == static_cast<std::size_t>(-1) ||
      length == static_cast<std::size_t>(-2))
    return 1;
  return length;
}

}  // namespace pelo
