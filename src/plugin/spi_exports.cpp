// The module's face towards the host. Every call is complete in itself and
// catches everything: no exception ever leaves the module.
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "document/image_document.h"
#include "platform/allocation.h"
#include "platform/plugin_result.h"
#include "plugin/bitmap_builder.h"
#include "plugin/picture_source.h"
#include "plugin/plugin_info.h"
#include "plugin/spi_api.h"
#include "readers/file_format.h"
#include "readers/picture_loader.h"
#include "settings/configuration_dialog.h"
#include "settings/layer_bond.h"

static_assert(sizeof(void*) != 4 || sizeof(PictureInfo) == 26, "PictureInfo is 26 packed bytes");
static_assert(sizeof(void*) != 4 || offsetof(PictureInfo, hInfo) == 22);
static_assert(sizeof(void*) != 8 || sizeof(PictureInfo) == 32, "PictureInfo is 32 bytes on 64-bit");
static_assert(sizeof(void*) != 8 || offsetof(PictureInfo, hInfo) == 24);

// The core decides results in its own names; the host knows these values.
static_assert(static_cast<int>(pelo::kResultSuccess) == SPI_SUCCESS);
static_assert(static_cast<int>(pelo::kResultRejected) == SPI_REJECTED);
static_assert(static_cast<int>(pelo::kResultNoMemory) == SPI_NO_MEMORY);
static_assert(static_cast<int>(pelo::kResultOpenFailed) == SPI_OPEN_FAILED);
static_assert(static_cast<int>(pelo::kResultUnknownFormat) == SPI_UNKNOWN_FORMAT);
static_assert(static_cast<int>(pelo::kResultNotProvided) == SPI_NOT_PROVIDED);

namespace pelo {
namespace {

// "PELO/PELO2ファイル" in code page 932; the W form's texts are the same
// in UTF-16.
constexpr const char* kPluginInfo[] = {
    "00IN",
    "PELO2 Susie Plug-in Ver.1.00 (c) 2026 the Pelo2SPI developers",
    "*.pel",
    "PELO/PELO2\x83\x74\x83\x40\x83\x43\x83\x8b",
};
[[maybe_unused]] constexpr const wchar_t* kPluginInfoWide[] = {
    L"00IN",
    L"PELO2 Susie Plug-in Ver.1.00 (c) 2026 the Pelo2SPI developers",
    L"*.pel",
    L"PELO/PELO2\u30D5\u30A1\u30A4\u30EB",
};

template <typename Char>
int PictureInfoOf(const Char* source, std::intptr_t positionOrSize, unsigned int flag,
                  PictureInfo* info) {
  return WithPictureSource(source, positionOrSize, flag, [info](CPictureLoader& loader) {
    PictureSize size;
    const PluginResult result = loader.ReadSize(&size);
    if (result != kResultSuccess) return result;
    std::memset(info, 0, sizeof *info);
    info->width = size.width;
    info->height = size.height;
    info->colorDepth = static_cast<std::int16_t>(size.bitsPerPixel);
    return kResultSuccess;
  });
}

template <typename Char>
int PictureOf(const Char* source, std::intptr_t positionOrSize, unsigned int flag,
              LocalHandle* header, LocalHandle* pixels) {
  if (header == nullptr || pixels == nullptr) return kResultUnknownFormat;
  *header = nullptr;
  *pixels = nullptr;
  const int result = WithPictureSource(source, positionOrSize, flag, [&](CPictureLoader& loader) {
    CImageDocument document;
    const PluginResult loaded = loader.Load(&document);
    if (loaded != kResultSuccess) return loaded;
    PictureChoice choice;
    choice.layers = ReadLayerBond() != 0 ? LayerSet::kAll : LayerSet::kVisible;
    return BuildPictureBitmap(document, choice, header, pixels);
  });
  if (result != kResultSuccess) {
    // Hosts have been seen freeing the handles after a failure: leave none.
    FreeBlock(*header);
    FreeBlock(*pixels);
    *header = nullptr;
    *pixels = nullptr;
  }
  return result;
}

}  // namespace
}  // namespace pelo

using namespace pelo;

extern "C" {

SPI_EXPORT int SPI_CALL GetPluginInfo(int index, char* buffer, int length) {
  return CopyPluginInfo(kPluginInfo, index, buffer, length);
}

SPI_EXPORT int SPI_CALL IsSupported(const char* fileName, uintptr_t sourceWord) {
  return IsSupportedFile(fileName, sourceWord);
}

SPI_EXPORT int SPI_CALL GetPictureInfo(const char* source, intptr_t positionOrSize,
                                       unsigned int flag, PictureInfo* info) {
  return PictureInfoOf(source, positionOrSize, flag, info);
}

SPI_EXPORT int SPI_CALL GetPicture(const char* source, intptr_t positionOrSize, unsigned int flag,
                                   SpiLocalHandle* header, SpiLocalHandle* pixels,
                                   SpiProgressCallback, intptr_t) {
  return PictureOf(source, positionOrSize, flag, header, pixels);
}

SPI_EXPORT int SPI_CALL GetPreview(const char*, intptr_t, unsigned int, SpiLocalHandle*,
                                   SpiLocalHandle*, SpiProgressCallback, intptr_t) {
  return kResultNotProvided;
}

SPI_EXPORT int SPI_CALL ConfigurationDlg(SpiWindowHandle parent, int function) {
  if (function != 1) return kResultNotProvided;
  try {
    return RunConfigurationDialog(parent);
  } catch (...) {
    return kResultNotProvided;
  }
}

#ifdef _WIN32
SPI_EXPORT int SPI_CALL GetPluginInfoW(int index, wchar_t* buffer, int length) {
  return CopyPluginInfo(kPluginInfoWide, index, buffer, length);
}

SPI_EXPORT int SPI_CALL IsSupportedW(const wchar_t* fileName, uintptr_t sourceWord) {
  return IsSupportedFile(fileName, sourceWord);
}

SPI_EXPORT int SPI_CALL GetPictureInfoW(const wchar_t* source, intptr_t positionOrSize,
                                        unsigned int flag, PictureInfo* info) {
  return PictureInfoOf(source, positionOrSize, flag, info);
}

SPI_EXPORT int SPI_CALL GetPictureW(const wchar_t* source, intptr_t positionOrSize,
                                    unsigned int flag, SpiLocalHandle* header,
                                    SpiLocalHandle* pixels, SpiProgressCallback, intptr_t) {
  return PictureOf(source, positionOrSize, flag, header, pixels);
}

SPI_EXPORT int SPI_CALL GetPreviewW(const wchar_t*, intptr_t, unsigned int, SpiLocalHandle*,
                                    SpiLocalHandle*, SpiProgressCallback, intptr_t) {
  return kResultNotProvided;
}
#endif

}  // extern "C"
