// Turns a loaded document into a picture: a bottom-up device-independent
// bitmap, the 40-byte header (with a 256-entry colour table at 8 bits) and
// the pixel rows. It draws whichever page, layers and palette it is asked
// for, into blocks it is given or into the two movable blocks a host
// receives; it reads no file and no setting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/color_palette.h"
#include "document/image_document.h"
#include "pages/page.h"
#include "platform/local_memory.h"
#include "platform/plugin_result.h"

namespace pelo {

// Which layers of the page are composited.
enum class LayerSet {
  kVisible,  // those whose visible byte is set
  kAll,      // every layer, hidden ones too
  kOne,      // PictureChoice::layer alone, visible or not
};

// What to draw: an index of -1 names the document's current page or palette.
struct PictureChoice {
  int page = -1;
  LayerSet layers = LayerSet::kVisible;
  int layer = -1;
  int palette = -1;
};

// A choice resolved against its document, with the bitmap's layout. The
// palette is resolved at 8 bits and below only, where the colour table
// needs it.
struct PicturePlan {
  const CImageDocument* document = nullptr;
  PictureChoice choice;
  const CPage* page = nullptr;
  const CColorPalette* palette = nullptr;
  int width = 0;
  int height = 0;
  bool indexed = true;  // 8 bits with a colour table, else 24 bits
  std::size_t bytesPerPixel = 1;
  std::size_t rowBytes = 0;  // width * bytesPerPixel, without padding
  std::size_t stride = 0;
  std::size_t headerBytes = 0;
  std::size_t pixelBytes = 0;
};

// kResultSuccess with plan filled; kResultUnknownFormat when the page, the
// layer of LayerSet::kOne or a needed palette does not exist;
// kResultNoMemory when a block would pass the buffer limit.
PluginResult PlanPicture(const CImageDocument& document, const PictureChoice& choice,
                         PicturePlan* plan);

// Writes a planned picture into blocks the caller owns: header (headerBytes,
// or null for the pixel rows alone) and bits (pixelBytes). The layers are
// composited from the last to the first over the background.
void DrawPicture(const PicturePlan& plan, std::uint8_t* header, std::uint8_t* bits);

// Plans the picture, charges it to the open allocation budgets and draws it
// into two movable blocks. kResultSuccess with both handles set to unlocked
// blocks that the caller passes on; kResultNoMemory when a block cannot be
// charged, allocated or locked; PlanPicture's results. After a failure both
// handles are null.
PluginResult BuildPictureBitmap(const CImageDocument& document, const PictureChoice& choice,
                                LocalHandle* header, LocalHandle* pixels);

}  // namespace pelo
