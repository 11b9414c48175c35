#include "plugin_module.h"

namespace pelo::wine {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

PluginModule::PluginModule() {
  module_ = ::LoadLibraryA((ProgramFolder() + kModuleFileName).c_str());
  if (module_ == nullptr) return;
  getPluginInfo = Lookup<GetPluginInfoFn>(module_, "GetPluginInfo");
  isSupported = Lookup<IsSupportedFn>(module_, "IsSupported");
  getPictureInfo = Lookup<GetPictureInfoFn>(module_, "GetPictureInfo");
  getPicture = Lookup<GetPictureFn>(module_, "GetPicture");
  getPreview = Lookup<GetPictureFn>(module_, "GetPreview");
  configurationDlg = Lookup<ConfigurationDlgFn>(module_, "ConfigurationDlg");
  getPluginInfoW = Lookup<GetPluginInfoWFn>(module_, "GetPluginInfoW");
  isSupportedW = Lookup<IsSupportedWFn>(module_, "IsSupportedW");
  getPictureInfoW = Lookup<GetPictureInfoWFn>(module_, "GetPictureInfoW");
  getPictureW = Lookup<GetPictureWFn>(module_, "GetPictureW");
  getPreviewW = Lookup<GetPictureWFn>(module_, "GetPreviewW");
}

PluginModule::~PluginModule() {
  if (module_ != nullptr) ::FreeLibrary(module_);
}

bool PluginModule::Loaded() const {
  return module_ != nullptr && getPluginInfo && isSupported && getPictureInfo && getPicture &&
         getPreview && configurationDlg && getPluginInfoW && isSupportedW && getPictureInfoW &&
         getPictureW && getPreviewW;
}

std::string PluginModule::Path() const {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(module_, path, MAX_PATH);
  return std::string(path, n);
}

std::string PluginModule::IniPath() const {
  const std::string path = Path();
  return path.substr(0, path.find_last_of('.')) + ".ini";
}

}  // namespace pelo::wine
