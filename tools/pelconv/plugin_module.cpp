#include "plugin_module.h"

namespace pelo::tools {

template <typename Fn>
bool PluginModule::Resolve(const char* name, Fn* out) {
  *out = reinterpret_cast<Fn>(library_.Symbol(name));
  if (*out != nullptr) return true;
  error_ = path_ + " does not export " + name + ": it is not a picture plug-in";
  return false;
}

bool PluginModule::ResolveLocalHeap() {
  const LocalHeapCalls calls = LocalHeapOf(library_);
  lock_ = calls.lock;
  unlock_ = calls.unlock;
  free_ = calls.free;
  size_ = calls.size;
  return true;
}

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
