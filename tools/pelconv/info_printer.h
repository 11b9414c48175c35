// --info: what a file holds. Format, size and colour depth come from the
// plug-in's GetPictureInfo; the pages, palettes and layers, which the
// exports do not tell, from loading the document in this process.
#pragma once

#include <cstdio>
#include <string>

#include "document/image_document.h"
#include "picture_input.h"
#include "plugin_module.h"

namespace pelo {
class CPage;
}

namespace pelo::tools {

class InfoPrinter {
 public:
  InfoPrinter(const PluginModule& module, std::FILE* out) : module_(module), out_(out) {}

  // Prints one input; false (with the reason on standard error) when it
  // cannot be read.
  bool Print(PictureInput& input);

 private:
  // Empty on success, else the reason.
  std::string Load(PictureInput& input, PictureInfo* info, CImageDocument* document, bool* legacy);
  void PrintDocument(const CImageDocument& document);
  void PrintPalettes(const CImageDocument& document);
  void PrintPages(const CImageDocument& document);
  // Legacy files keep no current layer, so there is none to mark.
  void PrintLayers(const CPage& page, const char* indent, bool markCurrent);

  const PluginModule& module_;
  std::FILE* out_;
};

}  // namespace pelo::tools
