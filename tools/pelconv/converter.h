// Converts the inputs one after the other through the plug-in's exports:
// GetPictureInfo, then GetPicture, then PNG. A failed input is reported on
// standard error and the others still convert.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"
#include "picture_input.h"
#include "plugin_module.h"
#include "progress_line.h"

namespace pelo::tools {

class Converter {
 public:
  Converter(const PluginModule& module, const Options& options)
      : module_(module), options_(options) {}

  // The number of inputs that failed.
  int Run();
  // Where the PNG of an input goes: beside it, or into the output folder.
  static std::string OutputPathFor(const std::string& input, const std::string& outputFolder);
  // The PNG of one input, scaled to the thumbnail's square when one is asked
  // for. Empty on success, else the reason.
  std::string Convert(PictureInput& input, std::vector<std::uint8_t>* png) const;

 private:
  std::string Deliver(const PictureInput& input, const std::vector<std::uint8_t>& png);
  void Report(const PictureInput& input, const std::string& reason);
  bool PrepareOutputFolder();

  const PluginModule& module_;
  const Options& options_;
  ProgressLine* progress_ = nullptr;
};

}  // namespace pelo::tools
