#include "module_picture.h"

#include <dlfcn.h>

#include <cstdint>

#include "dib_picture.h"
#include "document/image_document.h"
#include "platform/mem_file.h"
#include "plugin_module.h"
#include "text_conversion.h"

namespace pelo::desktop {

namespace {

using tools::DibPicture;
using tools::PluginModule;

// The module this library was linked against, opened once more by its own
// path so that its blocks are locked and freed through its own local heap.
const PluginModule* LinkedModule(std::string* error) {
  static PluginModule module;
  static const bool loaded = [] {
    Dl_info where{};
    if (::dladdr(reinterpret_cast<void*>(&GetPictureInfo), &where) == 0 ||
        where.dli_fname == nullptr)
      return false;
    return module.Load(where.dli_fname);
  }();
  if (loaded) return &module;
  *error = "the picture plug-in cannot be used: " + module.error();
  return nullptr;
}

// The loader's own words for a current-format file it refused.
std::string LoaderText(const std::uint8_t* data, std::size_t size) {
  try {
    CMemFile file(data, size);
    CImageDocument document;
    if (document.Load(file)) return {};
    return tools::Cp932ToUtf8(document.errorText);
  } catch (...) {
    return {};
  }
}

std::string Sentence(int result) {
  switch (result) {
    case SPI_REJECTED:
      return "the file's content was rejected";
    case SPI_NO_MEMORY:
      return "no memory for the picture, or the picture has no pixels";
    case SPI_UNKNOWN_FORMAT:
      return "not a readable .pel picture, or the file is damaged or ends too early";
    default:
      return "the picture plug-in failed";
  }
}

void AppendRgb(const DibPicture& picture, std::vector<std::uint8_t>* rgb) {
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.bitsPerPixel() == 8) {
        const tools::PaletteEntry color = picture.Color(row[x]);
        rgb->insert(rgb->end(), {color.red, color.green, color.blue});
      } else {
        const std::uint8_t* bgr = row + 3 * static_cast<std::size_t>(x);
        rgb->insert(rgb->end(), {bgr[2], bgr[1], bgr[0]});
      }
    }
  }
}

}  // namespace

bool ModulePicture::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

bool ModulePicture::FailWithResult(int result, const std::uint8_t* data, std::size_t size) {
  std::string reason = Sentence(result);
  if (result == SPI_REJECTED) {
    const std::string text = LoaderText(data, size);
    if (!text.empty()) reason += ": " + text;
  }
  return Fail(reason + " (plug-in result " + std::to_string(result) + ")");
}

bool ModulePicture::Decode(const std::uint8_t* data, std::size_t size) {
  if (size > static_cast<std::size_t>(INTPTR_MAX)) return Fail("the file is too large");
  std::string error;
  const PluginModule* module = LinkedModule(&error);
  if (module == nullptr) return Fail(error);
  // A memory source must point somewhere even when it is empty.
  static const char kEmpty[1] = {};
  const char* source = size == 0 ? kEmpty : reinterpret_cast<const char*>(data);
  const auto length = static_cast<intptr_t>(size);
  PictureInfo info{};
  int result = module->PictureInfoOf(source, length, 1, &info);
  if (result != SPI_SUCCESS) return FailWithResult(result, data, size);
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  result = module->Picture(source, length, 1, &header, &pixels);
  DibPicture picture(*module, header, pixels);
  if (result != SPI_SUCCESS) return FailWithResult(result, data, size);
  if (!picture.Open()) return Fail(picture.error());
  width_ = picture.width();
  height_ = picture.height();
  rgb_.clear();
  rgb_.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
  AppendRgb(picture, &rgb_);
  return true;
}

}  // namespace pelo::desktop
