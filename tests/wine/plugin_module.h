// Pelo2SPI.spi as a viewer sees it: loaded with LoadLibraryA and reached only
// through GetProcAddress by the six plain names, with the prototypes a host
// declares on its own side (not the module's header, so a mismatch between
// the two shows up here).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace pelo::wine {

#pragma pack(push, 1)
struct HostPictureInfo {
  LONG left;
  LONG top;
  LONG width;
  LONG height;
  WORD xDensity;
  WORD yDensity;
  SHORT colorDepth;
  HLOCAL info;
};
#pragma pack(pop)
static_assert(sizeof(HostPictureInfo) == 26);

using ProgressCallback = int(WINAPI*)(int, int, LONG_PTR);
using GetPluginInfoFn = int(WINAPI*)(int, LPSTR, int);
using IsSupportedFn = int(WINAPI*)(LPCSTR, DWORD_PTR);
using GetPictureInfoFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned int, HostPictureInfo*);
using GetPictureFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned int, HLOCAL*, HLOCAL*,
                                  ProgressCallback, LONG_PTR);
using ConfigurationDlgFn = int(WINAPI*)(HWND, int);

class PluginModule {
 public:
  // Loads the copy of the module that the build puts beside this program.
  PluginModule();
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool Loaded() const;
  // Full path of the loaded module, and of its settings file beside it.
  std::string Path() const;
  std::string IniPath() const;

  GetPluginInfoFn getPluginInfo = nullptr;
  IsSupportedFn isSupported = nullptr;
  GetPictureInfoFn getPictureInfo = nullptr;
  GetPictureFn getPicture = nullptr;
  GetPictureFn getPreview = nullptr;
  ConfigurationDlgFn configurationDlg = nullptr;

 private:
  HMODULE module_ = nullptr;
};

// The folder of this program, with a trailing backslash.
std::string ProgramFolder();

}  // namespace pelo::wine
