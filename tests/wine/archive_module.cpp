#include "archive_module.h"

namespace pelo::wine {

ArchiveModule::ArchiveModule() {
  module_ = ::LoadLibraryA((ProgramFolder() + kArchiveModuleFileName).c_str());
  if (module_ == nullptr) return;
  getPluginInfo = Lookup<GetPluginInfoFn>(module_, "GetPluginInfo");
  isSupported = Lookup<IsSupportedFn>(module_, "IsSupported");
  getArchiveInfo = Lookup<GetArchiveInfoFn>(module_, "GetArchiveInfo");
  getFileInfo = Lookup<GetFileInfoFn>(module_, "GetFileInfo");
  getFile = Lookup<GetFileFn>(module_, "GetFile");
  configurationDlg = Lookup<ConfigurationDlgFn>(module_, "ConfigurationDlg");
  getPluginInfoW = Lookup<GetPluginInfoWFn>(module_, "GetPluginInfoW");
  isSupportedW = Lookup<IsSupportedWFn>(module_, "IsSupportedW");
  getArchiveInfoW = Lookup<GetArchiveInfoWFn>(module_, "GetArchiveInfoW");
  getFileInfoW = Lookup<GetFileInfoWFn>(module_, "GetFileInfoW");
  getFileW = Lookup<GetFileWFn>(module_, "GetFileW");
}

ArchiveModule::~ArchiveModule() {
  if (module_ != nullptr) ::FreeLibrary(module_);
}

bool ArchiveModule::Loaded() const {
  return module_ != nullptr && getPluginInfo && isSupported && getArchiveInfo && getFileInfo &&
         getFile && configurationDlg && getPluginInfoW && isSupportedW && getArchiveInfoW &&
         getFileInfoW && getFileW;
}

}  // namespace pelo::wine
