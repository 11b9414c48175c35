// The module as a viewer sees it (Pelo2SPI.spi in a 32-bit host, Pelo2SPI.sph
// in a 64-bit one): loaded with LoadLibraryA and reached only through
// GetProcAddress by the six plain names and the five W forms, with the
// prototypes a host declares on its own side (not the module's header, so a
// mismatch between the two shows up here).
#pragma once

#include <windows.h>

#include <cstddef>
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
#ifdef _WIN64
  char dummy[2];
#endif
  HLOCAL info;
};
#pragma pack(pop)
#ifdef _WIN64
static_assert(sizeof(HostPictureInfo) == 32 && offsetof(HostPictureInfo, info) == 24);
#else
static_assert(sizeof(HostPictureInfo) == 26 && offsetof(HostPictureInfo, info) == 22);
#endif

using ProgressCallback = int(WINAPI*)(int, int, LONG_PTR);
using GetPluginInfoFn = int(WINAPI*)(int, LPSTR, int);
using IsSupportedFn = int(WINAPI*)(LPCSTR, DWORD_PTR);
using GetPictureInfoFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned int, HostPictureInfo*);
using GetPictureFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned int, HLOCAL*, HLOCAL*,
                                  ProgressCallback, LONG_PTR);
using ConfigurationDlgFn = int(WINAPI*)(HWND, int);
using GetPluginInfoWFn = int(WINAPI*)(int, LPWSTR, int);
using IsSupportedWFn = int(WINAPI*)(LPCWSTR, DWORD_PTR);
using GetPictureInfoWFn = int(WINAPI*)(LPCWSTR, LONG_PTR, unsigned int, HostPictureInfo*);
using GetPictureWFn = int(WINAPI*)(LPCWSTR, LONG_PTR, unsigned int, HLOCAL*, HLOCAL*,
                                   ProgressCallback, LONG_PTR);

#ifdef _WIN64
constexpr const char* kModuleFileName = "Pelo2SPI.sph";
#else
constexpr const char* kModuleFileName = "Pelo2SPI.spi";
#endif

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
  GetPluginInfoWFn getPluginInfoW = nullptr;
  IsSupportedWFn isSupportedW = nullptr;
  GetPictureInfoWFn getPictureInfoW = nullptr;
  GetPictureWFn getPictureW = nullptr;
  GetPictureWFn getPreviewW = nullptr;

 private:
  HMODULE module_ = nullptr;
};

// The folder of this program, with a trailing backslash.
std::string ProgramFolder();

// An exported function of module by name, as the host's own type; null when
// the module lacks it.
template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace pelo::wine
