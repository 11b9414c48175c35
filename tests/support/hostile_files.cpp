#include "support/hostile_files.h"

#include <cstdint>

#include "support/document_writer.h"

namespace pelo::test {

namespace {

constexpr int kSuccess = 0;
constexpr int kRejected = 3;
constexpr int kNoMemory = 5;
constexpr int kUnknown = 8;

DocumentDesc OneLayerDocument(std::uint8_t depth, std::uint16_t width, std::uint16_t height) {
  DocumentDesc d;
  d.depth = depth;
  d.colorCount = 2;
  d.palettes = {{"p", {0, 0, 0, 255, 255, 255}, {}}};
  PageDesc page{"page", width, height, {}, 0, {}};
  page.layers.push_back({"l", 1, Bytes(static_cast<std::size_t>(width) * height, 1), {}, {}});
  d.pages = {page};
  return d;
}

Bytes WithBodySize(std::uint32_t declared) {
  ContainerOptions o;
  o.declaredSize = declared;
  return MakeContainer(DocumentBody(OneLayerDocument(8, 2, 2)).bytes(), o);
}

// A page of width x height at depth with count layer records of no content.
Bytes EmptyLayers(std::uint8_t depth, std::uint16_t width, std::uint16_t height, int count) {
  DocumentDesc d = OneLayerDocument(depth, 1, 1);
  d.pages[0].width = width;
  d.pages[0].height = height;
  d.pages[0].layers.clear();
  for (int i = 0; i < count; ++i) d.pages[0].extra.Header(2003, 0);
  return WriteDocumentFile(d);
}

Bytes WithSelection(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  DocumentDesc d = OneLayerDocument(24, 2, 2);
  d.pages[0].layers[0].pixels = Bytes(12, 9);
  d.pages[0].layers[0].selection = SelectionDesc{left, top, right, bottom, {1}, {1, 2, 3}};
  return WriteDocumentFile(d);
}

// Records that each hold the rest of the body, as deep as depth: a page in
// the document, a layer in the page, then tags the layer does not know.
Bytes NestedRecords(int depth) {
  DocumentDesc d = OneLayerDocument(8, 2, 2);
  for (int i = depth - 1; i >= 0; --i) d.extra.Header(2003, static_cast<std::uint32_t>(6 * i));
  return WriteDocumentFile(d);
}

// A record whose end lies past 2^32: a walker that added in 32 bits would
// come back to the start of the body.
Bytes WrappingRecord() {
  DocumentDesc d = OneLayerDocument(8, 2, 2);
  d.extra.Header(3003, 0xFFFFFFF0u).Raw(Bytes(16, 0));
  return WriteDocumentFile(d);
}

LegacyFileDesc LegacyOf(std::uint32_t width, std::uint32_t height) {
  LegacyFileDesc f;
  f.width = width;
  f.height = height;
  return f;
}

Bytes LegacyDeclaringLayers(std::uint32_t side, int present) {
  LegacyFileDesc f = LegacyOf(side, side);
  f.declaredLayerCount = 0xFFFF;
  for (int i = 0; i < present; ++i) f.layers.push_back({"l", 1, {{0, 0xFFFFFFFF, 3}}, {}});
  return WriteLegacyFile(f);
}

Bytes LegacyLongRun() {
  LegacyFileDesc f = LegacyOf(16, 16);
  f.layers.push_back({"run", 1, {{0, 0xFFFFFFFF, 5}, {0, 0xFFFFFFFF, 6}}, {1, 2, 3}});
  return WriteLegacyFile(f);
}

Bytes LegacyRunCount(std::uint32_t declared) {
  LegacyFileDesc f = LegacyOf(4, 4);
  f.declaredLayerCount = 1;
  Bytes b = WriteLegacyFile(f);
  b.insert(b.end(), 80, 0);  // the name
  b.push_back(1);            // visible
  PutLe32(b, declared);
  b.insert(b.end(), 18, 0x11);  // two run records of the many announced
  return b;
}

}  // namespace

std::vector<HostileFile> HostileFiles() {
  return {
      {"body size 0xFFFFFFFF", WithBodySize(0xFFFFFFFFu), false, kRejected, kRejected},
      {"body size 256 MiB behind a few bytes", WithBodySize(256u << 20), false, kRejected,
       kRejected},
      {"65,535 x 65,535 page, a hundred layer records, no pixels",
       EmptyLayers(8, 0xFFFF, 0xFFFF, 100), false, kRejected, kRejected},
      {"8,192 x 8,192 page at 24 bits, a hundred layer records, no pixels",
       EmptyLayers(24, 8192, 8192, 100), false, kSuccess, kSuccess, true},
      {"4,096 x 4,096 page, a hundred thousand layer records", EmptyLayers(8, 4096, 4096, 100000),
       false, kSuccess, kSuccess},
      {"1 x 1 page, a million layer records", EmptyLayers(8, 1, 1, 1000000), false, kRejected,
       kRejected},
      {"selection of 2^31 cells", WithSelection(0, 0, 0x10000, 0x8000), false, kSuccess, kSuccess},
      {"selection over the whole 32-bit plane",
       WithSelection(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), false, kSuccess, kSuccess},
      {"selection of 8,192 x 8,192 cells at 24 bits", WithSelection(0, 0, 8192, 8192), false,
       kSuccess, kSuccess},
      {"records nested 10,000 deep", NestedRecords(10000), false, kSuccess, kSuccess},
      {"record length wrapping past 2^32", WrappingRecord(), false, kRejected, kRejected},
      {"legacy file declaring 65,535 layers, holding none", LegacyDeclaringLayers(64, 0), true,
       kSuccess, kUnknown},
      {"legacy 65,535 layers of 4,096 x 4,096, one run each", LegacyDeclaringLayers(4096, 300),
       true, kSuccess, kUnknown},
      {"legacy 65,535 x 65,535 picture", WriteLegacyFile(LegacyOf(0xFFFF, 0xFFFF)), true, kNoMemory,
       kNoMemory},
      {"legacy 2^31 - 1 x 2^31 - 1 picture", WriteLegacyFile(LegacyOf(0x7FFFFFFF, 0x7FFFFFFF)),
       true, kNoMemory, kNoMemory},
      {"legacy runs of length 0xFFFFFFFF", LegacyLongRun(), true, kSuccess, kSuccess},
      {"legacy block announcing 2^32 - 1 runs", LegacyRunCount(0xFFFFFFFFu), true, kSuccess,
       kUnknown},
  };
}

}  // namespace pelo::test
