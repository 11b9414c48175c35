// The archive module as a viewer sees it (Pelo2Layers.spi in a 32-bit host,
// Pelo2Layers.sph in a 64-bit one): loaded with LoadLibraryA and reached
// only through GetProcAddress, with the prototypes and the packed file
// records a host declares on its own side.
#pragma once

#include <windows.h>

#include <cstddef>

#include "plugin_module.h"

namespace pelo::wine {

#pragma pack(push, 1)
template <typename Char>
struct HostFileInfo {
  unsigned char method[8];
  ULONG_PTR position;
  ULONG_PTR compsize;
  ULONG_PTR filesize;
  ULONG_PTR timestamp;
  Char path[200];
  Char filename[200];
  unsigned long crc;
#ifdef _WIN64
  char dummy[4];
#endif
};
#pragma pack(pop)
using HostFileInfoA = HostFileInfo<char>;
using HostFileInfoW = HostFileInfo<wchar_t>;
#ifdef _WIN64
static_assert(sizeof(HostFileInfoA) == 448 && sizeof(HostFileInfoW) == 848);
#else
static_assert(sizeof(HostFileInfoA) == 428 && sizeof(HostFileInfoW) == 828);
#endif

using GetArchiveInfoFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned int, HLOCAL*);
using GetFileInfoFn = int(WINAPI*)(LPCSTR, LONG_PTR, LPCSTR, unsigned int, HostFileInfoA*);
using GetFileFn = int(WINAPI*)(LPCSTR, LONG_PTR, LPSTR, unsigned int, ProgressCallback, LONG_PTR);
using GetArchiveInfoWFn = int(WINAPI*)(LPCWSTR, LONG_PTR, unsigned int, HLOCAL*);
using GetFileInfoWFn = int(WINAPI*)(LPCWSTR, LONG_PTR, LPCWSTR, unsigned int, HostFileInfoW*);
using GetFileWFn = int(WINAPI*)(LPCWSTR, LONG_PTR, LPWSTR, unsigned int, ProgressCallback,
                                LONG_PTR);

#ifdef _WIN64
constexpr const char* kArchiveModuleFileName = "Pelo2Layers.sph";
#else
constexpr const char* kArchiveModuleFileName = "Pelo2Layers.spi";
#endif

class ArchiveModule {
 public:
  // Loads the copy of the module that the build puts beside this program.
  ArchiveModule();
  ~ArchiveModule();
  ArchiveModule(const ArchiveModule&) = delete;
  ArchiveModule& operator=(const ArchiveModule&) = delete;

  bool Loaded() const;

  GetPluginInfoFn getPluginInfo = nullptr;
  IsSupportedFn isSupported = nullptr;
  GetArchiveInfoFn getArchiveInfo = nullptr;
  GetFileInfoFn getFileInfo = nullptr;
  GetFileFn getFile = nullptr;
  ConfigurationDlgFn configurationDlg = nullptr;
  GetPluginInfoWFn getPluginInfoW = nullptr;
  IsSupportedWFn isSupportedW = nullptr;
  GetArchiveInfoWFn getArchiveInfoW = nullptr;
  GetFileInfoWFn getFileInfoW = nullptr;
  GetFileWFn getFileW = nullptr;

 private:
  HMODULE module_ = nullptr;
};

}  // namespace pelo::wine
