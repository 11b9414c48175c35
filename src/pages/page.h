// One page of a document: a stack of layers of one size and depth, index 0
// on top, with the editor's per-page state.
#pragma once

#include <cstdint>
#include <memory>

#include "io/binary_reader.h"
#include "items/item_list.h"
#include "items/list_item.h"
#include "pages/index_pair.h"
#include "pages/page_settings.h"
#include "platform/cstring.h"

namespace pelo {

class CPage : public CListItem {
 public:
  CPage() = default;
  ~CPage() override = default;

  // Sets the size and depth and makes the first layer, which becomes
  // current; the page is then named after number. False, with the page not
  // ready and unnamed, when that layer cannot be made.
  bool Create(int width, int height, int depth, int number);
  // Makes a layer of the page's size named after nextLayerNumber and inserts
  // it at position (0 to the layer count), keeping the current layer
  // current. False when the page is not ready, the position lies outside the
  // list or the layer cannot be made.
  bool AddLayer(int position, bool advanceNumber);
  // Walks length bytes of page records, making the layers in file order.
  // Raises CMemoryException for a layer or byte map too large to allocate,
  // and the file layer's exception when the data ends early.
  void Load(CBinaryReader& reader, std::uint32_t length, int depth);
  // Deletes the layers and the byte map; the page is then not ready.
  void Clear();
  // Deep copy of source; list flags are copied as plain values. False when
  // a layer or the byte map could not be copied.
  bool CopyFrom(const CPage& source);

  // The one place a page obtains its byte map: a zeroed map of columns x
  // rows that replaces the current one. Raises CMemoryException when it
  // cannot be had; the page then keeps its map.
  void AllocateByteMap(std::int32_t columns, std::int32_t rows);

  std::unique_ptr<CListItem> Clone() const override;
  std::int32_t GetNumber() const override { return number; }

  CItemList layers;
  CString name;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint8_t pageFlag = 0;
  CPageSettings settings;
  std::int32_t nextLayerNumber = 0;
  std::int32_t number = 0;
  CIndexPair indexPair;
  // byteMapWidth x byteMapHeight bytes, row after row.
  std::unique_ptr<std::uint8_t[]> byteMap;
  std::int32_t byteMapWidth = 0;
  std::int32_t byteMapHeight = 0;
  std::int32_t depth = 0;
  std::uint8_t isReady = 0;
};

}  // namespace pelo
