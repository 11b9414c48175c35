// What a host needs around the exported functions in the API tests: the
// module's settings file, movable blocks read back, OS file handles.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#endif

#include "plugin/spi_api.h"
#include "support/taken_block.h"

namespace pelo::test {

// The settings file beside the loaded module: its path with ".ini".
inline std::string ModuleIniPath() {
  std::string path;
#ifdef _WIN32
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&GetPicture), &module);
  char buffer[MAX_PATH] = {};
  GetModuleFileNameA(module, buffer, MAX_PATH);
  path = buffer;
#else
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&GetPicture), &info);
  char resolved[4096];
  path = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
#endif
  return path.substr(0, path.find_last_of('.')) + ".ini";
}

inline void SetLayerBond(const char* value) {
  std::ofstream(ModuleIniPath(), std::ios::binary) << "[Config]\r\nLayerBond=" << value << "\r\n";
}

inline void RemoveSettings() {
  std::remove(ModuleIniPath().c_str());
}

// The two blocks of a picture, copied out and freed as a host does.
struct Dib {
  std::vector<std::uint8_t> header;
  std::vector<std::uint8_t> pixels;

  std::int32_t Width() const { return Le32(4); }
  std::int32_t Height() const { return Le32(8); }
  int BitsPerPixel() const { return header[14] | (header[15] << 8); }
  std::size_t Stride() const {
    return ((static_cast<std::size_t>(Width()) * BitsPerPixel() / 8) + 3) & ~std::size_t{3};
  }
  // Pixel (x, y) counted from the top row of the picture.
  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + Stride() * static_cast<std::size_t>(Height() - 1 - y) +
           static_cast<std::size_t>(x) * (BitsPerPixel() / 8);
  }
  std::int32_t Le32(std::size_t at) const {
    std::int32_t v;
    std::memcpy(&v, header.data() + at, 4);
    return v;
  }
};

// Through the local-heap calls that a host uses (the module exports them
// to native hosts).
inline std::vector<std::uint8_t> TakeModuleBlock(SpiLocalHandle block) {
  return CopyOutAndFree(block, LocalSize, LocalLock, LocalUnlock, LocalFree);
}

// GetPicture over a memory image; on success *dib holds the blocks' bytes.
inline int GetPictureFromMemory(const std::vector<std::uint8_t>& file, Dib* dib) {
  SpiLocalHandle header = reinterpret_cast<SpiLocalHandle>(1);
  SpiLocalHandle pixels = reinterpret_cast<SpiLocalHandle>(1);
  const int result =
      GetPicture(reinterpret_cast<const char*>(file.data()), static_cast<intptr_t>(file.size()), 1,
                 &header, &pixels, nullptr, 0);
  if (result != 0) {
    // A host that frees the handles after a failure must free nothing.
    EXPECT_EQ(header, nullptr);
    EXPECT_EQ(pixels, nullptr);
    return result;
  }
  dib->header = TakeModuleBlock(header);
  dib->pixels = TakeModuleBlock(pixels);
  return result;
}

inline int GetInfoFromMemory(const std::vector<std::uint8_t>& file, PictureInfo* info) {
  return GetPictureInfo(reinterpret_cast<const char*>(file.data()),
                        static_cast<intptr_t>(file.size()), 1, info);
}

inline std::string TempPath(const std::string& name) {
#ifdef _WIN32
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
#else
  return "/tmp/" + std::to_string(getpid()) + "-" + name;
#endif
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// An OS file handle as a host passes it to IsSupported.
class OsHandle {
 public:
  OsHandle(const std::string& path, bool forReading) {
#ifdef _WIN32
    handle_ = CreateFileA(path.c_str(), forReading ? GENERIC_READ : GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    handle_ = open(path.c_str(), forReading ? O_RDONLY : O_WRONLY);
#endif
  }
  ~OsHandle() {
#ifdef _WIN32
    CloseHandle(handle_);
#else
    close(handle_);
#endif
  }
  uintptr_t Word() const {
    return reinterpret_cast<uintptr_t>(AsPointer());
  }

 private:
#ifdef _WIN32
  const void* AsPointer() const {
    return handle_;
  }
  HANDLE handle_;
#else
  const void* AsPointer() const {
    return reinterpret_cast<const void*>(static_cast<intptr_t>(handle_));
  }
  int handle_;
#endif
};

}  // namespace pelo::test
