// The plug-in module as a host sees it: a library loaded by path and the six
// functions it exports, found by name, plus the local-heap calls that free
// and lock what GetPicture hands over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "plugin/spi_api.h"
#include "shared_library.h"

namespace pelo::tools {

class PluginModule {
 public:
  using GetPluginInfoFn = int(SPI_CALL*)(int, char*, int);
  using IsSupportedFn = int(SPI_CALL*)(const char*, uintptr_t);
  using GetPictureInfoFn = int(SPI_CALL*)(const char*, intptr_t, unsigned int, PictureInfo*);
  using GetPictureFn = int(SPI_CALL*)(const char*, intptr_t, unsigned int, SpiLocalHandle*,
                                      SpiLocalHandle*, SpiProgressCallback, intptr_t);
  using ConfigurationDlgFn = int(SPI_CALL*)(SpiWindowHandle, int);

  // False, with a reason in error(), when the file cannot be loaded or lacks
  // one of the functions a host needs.
  bool Load(const std::string& path);
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

  // Information string index (0 to 3) of GetPluginInfo; empty when absent.
  std::string Info(int index) const;
  int PictureInfoOf(const char* source, intptr_t positionOrSize, unsigned int flag,
                    PictureInfo* info) const;
  int Picture(const char* source, intptr_t positionOrSize, unsigned int flag,
              SpiLocalHandle* header, SpiLocalHandle* pixels) const;

  // The local heap of the blocks that Picture returns.
  void* Lock(SpiLocalHandle block) const;
  void Unlock(SpiLocalHandle block) const;
  void Free(SpiLocalHandle block) const;
  std::size_t Size(SpiLocalHandle block) const;

 private:
  template <typename Fn>
  bool Resolve(const char* name, Fn* out);
  bool ResolveLocalHeap();

  SharedLibrary library_;
  std::string path_;
  std::string error_;
  GetPluginInfoFn getPluginInfo_ = nullptr;
  IsSupportedFn isSupported_ = nullptr;
  GetPictureInfoFn getPictureInfo_ = nullptr;
  GetPictureFn getPicture_ = nullptr;
  GetPictureFn getPreview_ = nullptr;
  ConfigurationDlgFn configurationDlg_ = nullptr;
  // Plain C functions natively; wrappers of the system's calls on Windows.
  void* (*lock_)(void*) = nullptr;
  int (*unlock_)(void*) = nullptr;
  void* (*free_)(void*) = nullptr;
  std::size_t (*size_)(void*) = nullptr;
};

}  // namespace pelo::tools
