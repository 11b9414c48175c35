// Reading the profile costs the viewer far more than the small pictures it
// opens (under wine, 0.1 to 0.3 ms against a few microseconds), yet every
// picture asks for the setting. The file's attributes cost little: a file
// that is missing gives the default, as the profile call would; one that has
// not changed since the last read gives the value read then.
#include <windows.h>
#undef WriteProfileString  // windows.h maps it to WriteProfileStringA; ours is pelo::

#include <cstring>

#include "platform/profile.h"

namespace pelo {

namespace {

// FILETIME ticks of 100 ns: the coarsest clock a file system keeps for
// writes (FAT's) moves on every 2 seconds.
constexpr ULONGLONG kCoarsestWriteTick = 2 * 10'000'000ULL;

ULONGLONG Ticks(const FILETIME& t) {
  return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

// The last value read, with what tells its file's state: a fixed block, no
// heap memory kept between calls.
struct LastRead {
  const char* section = nullptr;
  const char* key = nullptr;
  int defaultValue = 0;
  char path[MAX_PATH] = {};
  ULONGLONG written = 0;
  ULONGLONG size = 0;
  int value = 0;
};

LastRead lastRead;
SRWLOCK lastReadLock = SRWLOCK_INIT;

// The profile call looks for a file named without its folder in the
// Windows folder, the attributes call in the current one: only a full path
// names the same file for both.
bool FullPath(const std::string& path) {
  return path.size() > 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
}

int ReadFromFile(const char* section, const char* key, int defaultValue, const std::string& path) {
  return static_cast<int>(::GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
}

// The value last read from the file in this state, when there is one.
bool Recall(const LastRead& state, int* value) {
  ::AcquireSRWLockShared(&lastReadLock);
  const bool known = lastRead.section == state.section && lastRead.key == state.key &&
                     lastRead.defaultValue == state.defaultValue &&
                     lastRead.written == state.written && lastRead.size == state.size &&
                     std::strcmp(lastRead.path, state.path) == 0;
  *value = lastRead.value;
  ::ReleaseSRWLockShared(&lastReadLock);
  return known;
}

void Remember(const LastRead& state) {
  ::AcquireSRWLockExclusive(&lastReadLock);
  lastRead = state;
  ::ReleaseSRWLockExclusive(&lastReadLock);
}

}  // namespace

int ReadProfileInt(const char* section, const char* key, int defaultValue,
                   const std::string& path) {
  if (!FullPath(path) || path.size() >= MAX_PATH)
    return ReadFromFile(section, key, defaultValue, path);
  WIN32_FILE_ATTRIBUTE_DATA file;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return defaultValue;
    return ReadFromFile(section, key, defaultValue, path);
  }
  LastRead state;
  state.section = section;
  state.key = key;
  state.defaultValue = defaultValue;
  std::memcpy(state.path, path.c_str(), path.size() + 1);
  state.written = Ticks(file.ftLastWriteTime);
  state.size = (ULONGLONG{file.nFileSizeHigh} << 32) | file.nFileSizeLow;
  if (Recall(state, &state.value)) return state.value;

  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  state.value = ReadFromFile(section, key, defaultValue, path);
  // A write within the file system's clock tick of this one could leave the
  // same time and size behind: such a file is read again next time.
  if (state.written + kCoarsestWriteTick < Ticks(now)) Remember(state);
  return state.value;
}

bool WriteProfileString(const char* section, const char* key, const char* value,
                        const std::string& path) {
  return ::WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
}

}  // namespace pelo
