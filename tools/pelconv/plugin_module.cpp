#include "plugin_module.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/local_memory.h"
#endif

namespace pelo::tools {

template <typename Fn>
bool PluginModule::Resolve(const char* name, Fn* out) {
  *out = reinterpret_cast<Fn>(library_.Symbol(name));
  if (*out != nullptr) return true;
  error_ = path_ + " does not export " + name + ": it is not a picture plug-in";
  return false;
}

#ifdef _WIN32
// Windows hosts free the blocks with the system's own local heap.
bool PluginModule::ResolveLocalHeap() {
  lock_ = [](void* h) -> void* { return ::LocalLock(static_cast<HLOCAL>(h)); };
  unlock_ = [](void* h) -> int { return ::LocalUnlock(static_cast<HLOCAL>(h)); };
  free_ = [](void* h) -> void* { return ::LocalFree(static_cast<HLOCAL>(h)); };
  size_ = [](void* h) -> std::size_t { return ::LocalSize(static_cast<HLOCAL>(h)); };
  return true;
}
#else
// Natively the module exports its local heap, so blocks go back where they
// came from. A module built without those exports made its blocks with the
// same core code that this program links, so the program's own calls serve.
bool PluginModule::ResolveLocalHeap() {
  lock_ = reinterpret_cast<void* (*)(void*)>(library_.Symbol("LocalLock"));
  unlock_ = reinterpret_cast<int (*)(void*)>(library_.Symbol("LocalUnlock"));
  free_ = reinterpret_cast<void* (*)(void*)>(library_.Symbol("LocalFree"));
  size_ = reinterpret_cast<std::size_t (*)(void*)>(library_.Symbol("LocalSize"));
  if (lock_ != nullptr && unlock_ != nullptr && free_ != nullptr && size_ != nullptr) return true;
  lock_ = [](void* h) { return LockBlock(h); };
  unlock_ = [](void* h) {
    UnlockBlock(h);
    return 0;
  };
  free_ = [](void* h) -> void* {
    FreeBlock(h);
    return nullptr;
  };
  size_ = [](void* h) { return BlockSize(h); };
  return true;
}
#endif

bool PluginModule::Load(const std::string& path) {
  path_ = path;
  if (!library_.Open(path)) {
    error_ = library_.error();
    return false;
  }
  return Resolve("GetPluginInfo", &getPluginInfo_) && Resolve("IsSupported", &isSupported_) &&
         Resolve("GetPictureInfo", &getPictureInfo_) && Resolve("GetPicture", &getPicture_) &&
         Resolve("GetPreview", &getPreview_) && Resolve("ConfigurationDlg", &configurationDlg_) &&
         ResolveLocalHeap();
}

std::string PluginModule::Info(int index) const {
  char buffer[256] = {};
  const int n = getPluginInfo_(index, buffer, static_cast<int>(sizeof buffer) - 1);
  if (n <= 0) return {};
  std::string text(buffer, static_cast<std::size_t>(n));
  const auto zero = text.find('\0');
  return zero == std::string::npos ? text : text.substr(0, zero);
}

int PluginModule::PictureInfoOf(const char* source, intptr_t positionOrSize, unsigned int flag,
                                PictureInfo* info) const {
  return getPictureInfo_(source, positionOrSize, flag, info);
}

int PluginModule::Picture(const char* source, intptr_t positionOrSize, unsigned int flag,
                          SpiLocalHandle* header, SpiLocalHandle* pixels) const {
  return getPicture_(source, positionOrSize, flag, header, pixels, nullptr, 0);
}

void* PluginModule::Lock(SpiLocalHandle block) const {
  return block != nullptr ? lock_(block) : nullptr;
}

void PluginModule::Unlock(SpiLocalHandle block) const {
  if (block != nullptr) unlock_(block);
}

void PluginModule::Free(SpiLocalHandle block) const {
  if (block != nullptr) free_(block);
}

std::size_t PluginModule::Size(SpiLocalHandle block) const {
  return block != nullptr ? size_(block) : 0;
}

}  // namespace pelo::tools
