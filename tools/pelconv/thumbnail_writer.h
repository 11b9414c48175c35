// --thumbnail: one input into one PNG that fits the requested square, for a
// file manager's thumbnailer. The output file appears only when it is whole.
#pragma once

#include "options.h"
#include "plugin_module.h"

namespace pelo::tools {

class ThumbnailWriter {
 public:
  ThumbnailWriter(const PluginModule& module, const Options& options)
      : module_(module), options_(options) {}

  // True when the thumbnail was written; the reason is on standard error
  // otherwise.
  bool Run() const;

 private:
  const PluginModule& module_;
  const Options& options_;
};

}  // namespace pelo::tools
