// --split: every entry of the archive view of each input (each page's
// picture, all its layers, each layer alone, each palette) as a PNG file in
// a folder named after the input, drawn by the same core functions that the
// archive module hands a viewer. A failed input is reported on standard
// error and the others still split.
#pragma once

#include <string>

#include "options.h"
#include "picture_input.h"

namespace pelo::tools {

class Splitter {
 public:
  explicit Splitter(const Options& options) : options_(options) {}

  // The number of inputs that failed.
  int Run();
  // The folder of an input's entries: its path without the extension, or a
  // folder of that name in the output folder.
  static std::string FolderFor(const std::string& input, const std::string& outputFolder);

 private:
  // Empty on success, else the reason.
  std::string Split(const PictureInput& input) const;

  const Options& options_;
};

}  // namespace pelo::tools
