#include <windows.h>
#undef WriteProfileString  // windows.h maps it to WriteProfileStringA; ours is pelo::

#include "platform/profile.h"

namespace pelo {

int ReadProfileInt(const char* section, const char* key, int defaultValue,
                   const std::string& path) {
  return static_cast<int>(::GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
}

bool WriteProfileString(const char* section, const char* key, const char* value,
                        const std::string& path) {
  return ::WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
}

}  // namespace pelo
