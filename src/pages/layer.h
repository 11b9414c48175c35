// One layer of a page: a pixel buffer of the page's size at the document's
// depth, with a name, a visibility flag and the editor's per-layer state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "items/item_settings.h"
#include "items/list_item.h"
#include "pages/layer_selection.h"
#include "platform/cstring.h"

namespace pelo {

class CLayer : public CListItem {
 public:
  // Longest name SetName keeps, in bytes.
  static constexpr std::size_t kMaxNameBytes = 256;

  CLayer() = default;
  ~CLayer() override = default;

  // Bytes per pixel of a depth: 1 for 1, 4 and 8; 2 for 15 and 16; 3 for 24;
  // 4 for 32; 0 for any other depth.
  static int BytesPerPixelOf(int depth);

  // A new blank layer of width x height pixels named after number: every
  // byte 0, held as a uniform layer without a buffer. False for a depth
  // without bytes per pixel or a negative size (the size values are kept),
  // and for a layer that already has content (nothing changes).
  bool Create(int width, int height, int depth, int number);
  // Walks length bytes of layer records and leaves the layer with its full
  // size: the pixel record's bytes, zeros where it has none. A layer without
  // a pixel record stays uniform and costs no buffer. Raises
  // CMemoryException when the layer would pass the buffer limit or its
  // record's buffer cannot be had, and the file layer's exception when the
  // data ends early.
  void Load(CBinaryReader& reader, std::uint32_t length, int width, int height, int depth);
  // Reads a pixel record's payload of length bytes into the buffer from its
  // start, never past its end; a uniform layer first gets its buffer.
  void LoadPixels(CBinaryReader& reader, std::uint32_t length);
  // Makes every byte value and drops the buffer.
  void Fill(std::uint8_t value);
  // Gives a uniform layer a buffer of its own holding its value; nothing for
  // one that has a buffer. Raises CMemoryException when that cannot be had.
  void MaterializePixels();
  // The name, cut to kMaxNameBytes without splitting a double-byte character.
  void SetName(const CString& text);
  virtual void FreePixels();
  // Deep copy of source, the selection's outline excepted; list flags are
  // copied as plain values. False when source's depth gives no buffer or
  // memory runs out.
  bool CopyFrom(const CLayer& source);

  std::unique_ptr<CListItem> Clone() const override;
  std::int32_t GetNumber() const override { return number; }

  // Rows from the top, no gap between rows; pixelsSize is the number of
  // bytes the layer covers: held in pixels, or, for a uniform layer (no
  // buffer), all of the value fillValue. A loaded layer may share its
  // buffer with the body it was read from.
  std::shared_ptr<std::uint8_t[]> pixels;
  std::size_t pixelsSize = 0;
  bool uniform = false;
  std::uint8_t fillValue = 0;
  CString name;
  std::uint8_t visible = 1;
  CLayerSelection selection;
  CItemSettings settings;
  std::uint8_t layerFlag = 0;
  std::int32_t number = -1;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t depth = 0;
  std::int32_t bytesPerPixel = 0;

 private:
  // width x height x bytesPerPixel, or CMemoryException when that does not
  // fit in size_t or passes the buffer limit.
  std::size_t PixelBytes() const;
  // Makes this layer a copy of source's pixels at source's size; a uniform
  // source gives a uniform copy. False when the size or memory fails.
  bool CopyPixelsFrom(const CLayer& source);
};

}  // namespace pelo
