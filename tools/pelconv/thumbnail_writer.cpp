#include "thumbnail_writer.h"

#include <cstdio>

#include "converter.h"
#include "output_file.h"

namespace pelo::tools {

bool ThumbnailWriter::Run() const {
  const ThumbnailRequest& request = *options_.thumbnail;
  PictureInput input(request.input);
  std::vector<std::uint8_t> png;
  std::string reason = Converter(module_, options_).Convert(input, &png);
  if (reason.empty()) {
    OutputFile output(request.output);
    if (!output.Write(png)) reason = output.error();
  }
  if (reason.empty()) return true;
  std::fprintf(stderr, "pelconv: %s: %s\n", input.Name().c_str(), reason.c_str());
  return false;
}

}  // namespace pelo::tools
