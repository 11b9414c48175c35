// A private copy of the plug-in module with its own settings file, so that
// one run can choose the layer composition without touching the settings
// that the user keeps beside the module. The folder goes when this does;
// unload the copy first.
#pragma once

#include <filesystem>
#include <string>

namespace pelo::tools {

class ModuleCopy {
 public:
  ModuleCopy() = default;
  ModuleCopy(const ModuleCopy&) = delete;
  ModuleCopy& operator=(const ModuleCopy&) = delete;
  ~ModuleCopy();

  // Copies the module into a new temporary folder and writes
  // [Config] LayerBond=layerBond into the settings file beside the copy.
  // False with a reason in error().
  bool Make(const std::string& modulePath, int layerBond);
  std::string path() const { return copy_.string(); }
  const std::string& error() const { return error_; }

 private:
  bool MakeFolder();

  std::filesystem::path folder_;
  std::filesystem::path copy_;
  std::string error_;
};

}  // namespace pelo::tools
