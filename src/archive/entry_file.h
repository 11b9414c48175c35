// An archive entry as a file: the BMP file header, then the picture exactly
// as the bitmap builder draws it for the import plug-in (its 40-byte header,
// colour table and bottom-up rows).
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/image_document.h"
#include "platform/local_memory.h"
#include "platform/plugin_result.h"
#include "plugin/bitmap_builder.h"

namespace pelo {

inline constexpr std::size_t kBmpFileHeaderBytes = 14;

// PlanPicture, and the size of the whole file in *fileBytes.
PluginResult PlanEntryFile(const CImageDocument& document, const PictureChoice& choice,
                           PicturePlan* plan, std::size_t* fileBytes);

// Writes the planned file's fileBytes into file.
void DrawEntryFile(const PicturePlan& plan, std::uint8_t* file);

// Plans the file, charges it to the open allocation budget and draws it into
// one movable block: kResultSuccess with *block set to an unlocked block the
// caller passes on, else null and kResultNoMemory or PlanPicture's result.
PluginResult BuildEntryFile(const CImageDocument& document, const PictureChoice& choice,
                            LocalHandle* block);

}  // namespace pelo
