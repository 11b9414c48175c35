#include "pages/layer_selection.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::RecordWriter;
using Bounds = CLayerSelection::Bounds;

constexpr std::uint8_t A = 0xA1, B = 0xB2, C = 0xC3;

Bytes Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  Bytes out;
  for (std::int32_t v : {left, top, right, bottom})
    test::PutLe32(out, static_cast<std::uint32_t>(v));
  return out;
}

void LoadSelection(CLayerSelection& selection, const RecordWriter& body, int bytesPerPixel,
                   int layerWidth = 10, int layerHeight = 10) {
  const Bytes& bytes = body.bytes();
  CMemFile file(bytes.data(), bytes.size());
  CBinaryReader reader(&file);
  selection.Load(reader, static_cast<std::uint32_t>(bytes.size()), bytesPerPixel, layerWidth,
                 layerHeight);
}

Bytes Held(const std::unique_ptr<std::uint8_t[]>& buffer, std::size_t size) {
  return Bytes(buffer.get(), buffer.get() + size);
}

TEST(LayerSelection, CreateSizesEveryBufferByTheRectangle) {
  for (int bytesPerPixel : {1, 3}) {
    SCOPED_TRACE(bytesPerPixel);
    CLayerSelection selection;
    ASSERT_TRUE(selection.Create(Bounds{2, 3, 6, 5}, nullptr, bytesPerPixel));
    EXPECT_EQ(selection.bounds, (Bounds{2, 3, 6, 5}));
    EXPECT_EQ(selection.cells, 8u);
    EXPECT_EQ(selection.PixelBytes(), 8u * bytesPerPixel);
    // A new selection marks nothing and holds no stray bytes.
    EXPECT_EQ(Held(selection.mask, 8), Bytes(8, 0));
    EXPECT_EQ(Held(selection.insidePixels, selection.PixelBytes()),
              Bytes(selection.PixelBytes(), 0));
  }
}

TEST(LayerSelection, CreateCopiesAGivenMaskOrAdoptsAnOwnedOne) {
  Bytes source{1, 0, 1, 1};
  CLayerSelection copied;
  ASSERT_TRUE(copied.Create(Bounds{0, 0, 2, 2}, source.data(), 1));
  source[0] = 0;
  EXPECT_EQ(Held(copied.mask, 4), (Bytes{1, 0, 1, 1}));

  auto owned = std::make_unique<std::uint8_t[]>(4);
  const std::uint8_t* address = owned.get();
  CLayerSelection adopting;
  ASSERT_TRUE(adopting.Create(Bounds{0, 0, 2, 2}, std::move(owned), 1));
  EXPECT_EQ(adopting.mask.get(), address);
}

TEST(LayerSelection, CreateRefusesRectanglesItCannotHold) {
  struct Case {
    const char* what;
    Bounds bounds;
    int bytesPerPixel;
  };
  const Case cases[] = {
      {"right left of left", {5, 0, 4, 1}, 1},
      {"bottom above top", {0, 5, 1, 4}, 1},
      {"the whole coordinate range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1},
      {"pixel buffers past the limit", {0, 0, 65536, 4096}, 3},
      {"mask past the limit", {0, 0, 65536, 16384}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLayerSelection selection;
    ASSERT_TRUE(selection.Create(Bounds{0, 0, 2, 2}, nullptr, 1));
    EXPECT_FALSE(selection.Create(c.bounds, nullptr, c.bytesPerPixel));
    EXPECT_FALSE(selection.mask);
    EXPECT_FALSE(selection.insidePixels);
    EXPECT_FALSE(selection.outsidePixels);
    EXPECT_EQ(selection.cells, 0u);
  }
}

TEST(LayerSelection, CreateReportsAFailedAllocationWithoutRaising) {
  for (long failing : {1, 2, 3}) {
    SCOPED_TRACE(failing);
    CLayerSelection selection;
    FailAllocationAt(failing);
    EXPECT_FALSE(selection.Create(Bounds{0, 0, 4, 4}, nullptr, 1));
    FailAllocationAt(0);
    EXPECT_FALSE(selection.mask);
    EXPECT_EQ(selection.cells, 0u);
  }
}

// Each selected pixel lands in exactly one buffer, chosen by whether its cell
// lies on the layer.
TEST(LayerSelection, LoadSortsSelectedPixelsByPosition) {
  struct Case {
    const char* what;
    Bounds bounds;
    int bytesPerPixel;
    Bytes mask;
    Bytes pixels;
    Bytes inside;
    Bytes outside;
  };
  const Case cases[] = {
      {"left of the layer, then on it", {-1, 0, 1, 1}, 1, {1, 1}, {A, B}, {0, B}, {A, 0}},
      {"unselected cells consume nothing",
       {0, 0, 4, 1},
       1,
       {0, 1, 0, 1},
       {A, B},
       {0, A, 0, B},
       Bytes(4, 0)},
      {"right edge, three bytes a pixel",
       {9, 0, 11, 1},
       3,
       {1, 1},
       {1, 2, 3, 4, 5, 6},
       {1, 2, 3, 0, 0, 0},
       {0, 0, 0, 4, 5, 6}},
      {"above and below the layer",
       {0, -1, 1, 11},
       1,
       Bytes(12, 1),
       {A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, B},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0},
       {A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, B}},
      {"two bytes a pixel", {0, 0, 2, 1}, 2, {1, 1}, {1, 2, 3, 4}, {1, 2, 3, 4}, Bytes(4, 0)},
      {"near the largest coordinates",
       {INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX},
       1,
       {1},
       {A},
       {0},
       {A}},
      {"near the smallest coordinates",
       {INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN + 1},
       1,
       {1},
       {A},
       {0},
       {A}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto& [left, top, right, bottom] = c.bounds;
    RecordWriter body = test::SelectionBody({left, top, right, bottom, c.mask, c.pixels});
    CLayerSelection selection;
    LoadSelection(selection, body, c.bytesPerPixel);
    ASSERT_TRUE(selection.mask);
    EXPECT_EQ(Held(selection.mask, selection.cells), c.mask);
    EXPECT_EQ(Held(selection.insidePixels, selection.PixelBytes()), c.inside);
    EXPECT_EQ(Held(selection.outsidePixels, selection.PixelBytes()), c.outside);
  }
}

// Bodies that break the record limits: nothing is read or written past a
// buffer, and what cannot be held is skipped.
TEST(LayerSelection, LoadKeepsHostileBodiesWithinTheBuffers) {
  struct Case {
    const char* what;
    RecordWriter body;
    int bytesPerPixel;
    std::optional<Bytes> mask;  // none: the selection stays empty
    Bytes inside;
  };
  const Case cases[] = {
      {"mask and pixels before the rectangle",
       RecordWriter().Data(1001, {1}).Data(1002, {A}),
       1,
       std::nullopt,
       {}},
      {"mask before the rectangle is dropped",
       RecordWriter().Data(1001, {1, 1}).Data(1000, Rect(0, 0, 2, 1)),
       1,
       Bytes{0, 0},
       {0, 0}},
      {"inverted rectangle",
       RecordWriter().Data(1000, Rect(4, 0, 2, 1)).Data(1001, {1, 1}).Data(1002, {A, B}),
       1,
       std::nullopt,
       {}},
      {"huge rectangle",
       RecordWriter()
           .Data(1000, Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX))
           .Data(1001, {1})
           .Data(1002, {A}),
       3,
       std::nullopt,
       {}},
      {"long mask",
       RecordWriter().Data(1000, Rect(0, 0, 2, 1)).Data(1001, {1, 1, 9, 9, 9}).Data(1002, {A, B}),
       1,
       Bytes{1, 1},
       {A, B}},
      {"short mask",
       RecordWriter().Data(1000, Rect(0, 0, 4, 1)).Data(1001, {1}).Data(1002, {A, B}),
       1,
       Bytes{1, 0, 0, 0},
       {A, 0, 0, 0}},
      {"short pixels",
       RecordWriter().Data(1000, Rect(0, 0, 3, 1)).Data(1001, {1, 1, 1}).Data(1002, {A}),
       1,
       Bytes{1, 1, 1},
       {A, 0, 0}},
      {"pixels ending inside a pixel",
       RecordWriter().Data(1000, Rect(0, 0, 2, 1)).Data(1001, {1, 1}).Data(1002, {1, 2, 3, 4}),
       3,
       Bytes{1, 1},
       {1, 2, 3, 0, 0, 0}},
      {"long pixels",
       RecordWriter().Data(1000, Rect(0, 0, 2, 1)).Data(1001, {0, 1}).Data(1002, {A, B, C}),
       1,
       Bytes{0, 1},
       {0, A}},
      {"empty but very tall rectangle",
       RecordWriter().Data(1000, Rect(0, INT_MIN, 0, INT_MAX)).Data(1001, {1}).Data(1002, {A}),
       1,
       Bytes{},
       {}},
      {"four bytes a pixel are not unpacked",
       RecordWriter().Data(1000, Rect(0, 0, 1, 1)).Data(1001, {1}).Data(1002, {1, 2, 3, 4}),
       4,
       Bytes{1},
       {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLayerSelection selection;
    LoadSelection(selection, c.body, c.bytesPerPixel);
    if (!c.mask) {
      EXPECT_FALSE(selection.mask);
      EXPECT_EQ(selection.cells, 0u);
      continue;
    }
    ASSERT_TRUE(selection.mask);
    EXPECT_EQ(Held(selection.mask, selection.cells), *c.mask);
    EXPECT_EQ(Held(selection.insidePixels, selection.PixelBytes()), c.inside);
    EXPECT_EQ(Held(selection.outsidePixels, selection.PixelBytes()), Bytes(c.inside.size(), 0));
  }
}

TEST(LayerSelection, DataEndingInsideARecordRaisesAndKeepsThePixels) {
  RecordWriter body;
  body.Data(1000, Rect(0, 0, 2, 1)).Data(1001, {1, 1}).Header(1002, 2).Raw({A});
  CLayerSelection selection;
  EXPECT_THROW(LoadSelection(selection, body, 1), CFileException);
  ASSERT_TRUE(selection.mask);
  EXPECT_EQ(Held(selection.insidePixels, 2), Bytes(2, 0));
}

TEST(LayerSelection, CopyIsIndependentOfItsSource) {
  CLayerSelection source;
  LoadSelection(source, test::SelectionBody({-1, 0, 1, 1, {1, 1}, {A, B}}), 1);
  source.outline.Append(0, 0, COutlineList::kTop);

  CLayerSelection copy;
  ASSERT_TRUE(copy.CopyFrom(source));
  source.mask[0] = 0;
  source.insidePixels[1] = 0;
  source.outsidePixels[0] = 0;
  EXPECT_EQ(copy.bounds, (Bounds{-1, 0, 1, 1}));
  EXPECT_EQ(Held(copy.mask, 2), (Bytes{1, 1}));
  EXPECT_EQ(Held(copy.insidePixels, 2), (Bytes{0, B}));
  EXPECT_EQ(Held(copy.outsidePixels, 2), (Bytes{A, 0}));
  EXPECT_EQ(copy.outline.head(), nullptr);

  CLayerSelection empty;
  ASSERT_TRUE(copy.CopyFrom(empty));
  EXPECT_FALSE(copy.mask);
}

}  // namespace
}  // namespace pelo
