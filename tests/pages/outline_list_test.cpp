#include "pages/outline_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pelo {
namespace {

constexpr std::uint8_t T = COutlineList::kTop;
constexpr std::uint8_t R = COutlineList::kRight;
constexpr std::uint8_t B = COutlineList::kBottom;
constexpr std::uint8_t L = COutlineList::kLeft;

struct Seg {
  int x;
  int y;
  std::uint8_t direction;
  bool operator==(const Seg&) const = default;
};

void PrintTo(const Seg& s, std::ostream* os) {
  const char* name = s.direction == T   ? "top"
                     : s.direction == R ? "right"
                     : s.direction == B ? "bottom"
                     : s.direction == L ? "left"
                                        : "?";
  *os << "(" << s.x << ", " << s.y << ", " << name << ")";
}

std::vector<Seg> Segments(const COutlineList& list) {
  std::vector<Seg> out;
  for (const OutlineSegment* s = list.head(); s != nullptr; s = s->next.get())
    out.push_back({s->x, s->y, s->direction});
  return out;
}

// A mask from rows of '#' (set) and '.' (clear).
std::vector<std::uint8_t> Mask(const std::vector<std::string>& rows) {
  std::vector<std::uint8_t> mask;
  for (const auto& row : rows)
    for (char c : row) mask.push_back(c == '#' ? 1 : 0);
  return mask;
}

struct TraceCase {
  const char* name;
  std::vector<std::string> rows;
  std::vector<Seg> expected;
};

class OutlineTrace : public ::testing::TestWithParam<TraceCase> {};

TEST_P(OutlineTrace, GivesTheSidesInTravelOrder) {
  const TraceCase& c = GetParam();
  const std::vector<std::uint8_t> mask = Mask(c.rows);
  const int height = static_cast<int>(c.rows.size());
  const int width = height == 0 ? 0 : static_cast<int>(c.rows[0].size());
  COutlineList list;
  list.Trace(mask.data(), width, height, true);
  EXPECT_EQ(Segments(list), c.expected);
  if (c.expected.empty()) {
    EXPECT_EQ(list.head(), nullptr);
    EXPECT_EQ(list.tail(), nullptr);
  } else {
    ASSERT_NE(list.tail(), nullptr);
    EXPECT_EQ(list.tail()->next, nullptr);
    EXPECT_EQ((Seg{list.tail()->x, list.tail()->y, list.tail()->direction}), c.expected.back());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, OutlineTrace,
    ::testing::Values(
        TraceCase{"SingleCentreCell",
                  {"...", ".#.", "..."},
                  {{1, 1, T}, {1, 1, R}, {1, 1, B}, {1, 1, L}}},
        TraceCase{"TwoByOneBothSet",
                  {"##"},
                  {{0, 0, T}, {1, 0, T}, {1, 0, R}, {1, 0, B}, {0, 0, B}, {0, 0, L}}},
        TraceCase{"LShape",
                  {"#.", "##"},
                  {{0, 0, T},
                   {0, 0, R},
                   {1, 1, T},
                   {1, 1, R},
                   {1, 1, B},
                   {0, 1, B},
                   {0, 1, L},
                   {0, 0, L}}},
        TraceCase{"DiagonalCellsAreTwoContours",
                  {"#.", ".#"},
                  {{0, 0, T},
                   {0, 0, R},
                   {0, 0, B},
                   {0, 0, L},
                   {1, 1, T},
                   {1, 1, R},
                   {1, 1, B},
                   {1, 1, L}}},
        TraceCase{"EmptyMask", {"...", "..."}, {}}, TraceCase{"SizeZero", {}, {}},
        TraceCase{"RingWithHole",
                  {"###", "#.#", "###"},
                  {// outer contour, clockwise from (0, 0)
                   {0, 0, T},
                   {1, 0, T},
                   {2, 0, T},
                   {2, 0, R},
                   {2, 1, R},
                   {2, 2, R},
                   {2, 2, B},
                   {1, 2, B},
                   {0, 2, B},
                   {0, 2, L},
                   {0, 1, L},
                   {0, 0, L},
                   // the hole, set cells on the right
                   {1, 2, T},
                   {2, 1, L},
                   {1, 0, B},
                   {0, 1, R}}},
        TraceCase{"FullCornerCellOfLargerMask",
                  {"#..", "...", "..."},
                  {{0, 0, T}, {0, 0, R}, {0, 0, B}, {0, 0, L}}},
        TraceCase{"BottomRightCell", {"...", "..#"}, {{2, 1, T}, {2, 1, R}, {2, 1, B}, {2, 1, L}}},
        TraceCase{"VerticalBar",
                  {"#", "#"},
                  {{0, 0, T}, {0, 0, R}, {0, 1, R}, {0, 1, B}, {0, 1, L}, {0, 0, L}}}),
    [](const ::testing::TestParamInfo<TraceCase>& info) { return std::string(info.param.name); });

TEST(OutlineList, RingHasTwelveOuterAndFourHoleSegments) {
  const auto mask = Mask({"###", "#.#", "###"});
  COutlineList list;
  list.Trace(mask.data(), 3, 3, true);
  const auto segments = Segments(list);
  ASSERT_EQ(segments.size(), 16u);
  EXPECT_EQ(std::vector<Seg>(segments.begin() + 12, segments.end()),
            (std::vector<Seg>{{1, 2, T}, {2, 1, L}, {1, 0, B}, {0, 1, R}}));
}

TEST(OutlineList, TraceWithoutForceKeepsANonEmptyList) {
  const auto first = Mask({"#"});
  const auto second = Mask({"##"});
  COutlineList list;
  list.Trace(first.data(), 1, 1, true);
  const auto before = Segments(list);
  ASSERT_EQ(before.size(), 4u);
  list.Trace(second.data(), 2, 1, false);
  EXPECT_EQ(Segments(list), before);
  list.Trace(second.data(), 2, 1, true);
  EXPECT_EQ(Segments(list).size(), 6u);
}

TEST(OutlineList, TraceWithoutForceFillsAnEmptyList) {
  const auto mask = Mask({"#"});
  COutlineList list;
  list.Trace(mask.data(), 1, 1, false);
  EXPECT_EQ(Segments(list).size(), 4u);
}

TEST(OutlineList, ForcedTraceOfAnEmptyMaskEmptiesTheList) {
  COutlineList list;
  list.Append(1, 2, T);
  const auto mask = Mask({".."});
  list.Trace(mask.data(), 2, 1, true);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
}

TEST(OutlineList, AppendLinksAfterTheTail) {
  COutlineList list;
  EXPECT_EQ(list.head(), nullptr);
  list.Append(1, 2, T);
  EXPECT_EQ(list.head(), list.tail());
  list.Append(3, 4, L);
  EXPECT_EQ(Segments(list), (std::vector<Seg>{{1, 2, T}, {3, 4, L}}));
  EXPECT_EQ(list.tail()->x, 3);
  list.Clear();
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
  list.Append(5, 6, B);
  EXPECT_EQ(Segments(list), (std::vector<Seg>{{5, 6, B}}));
}

TEST(OutlineList, TraceContourStartsOnlyAtATopSide) {
  const auto mask = Mask({"#", "#"});
  std::vector<std::uint8_t> work(2, 0);
  COutlineList list;
  list.TraceContour(mask.data(), work.data(), 0, 1, 1, 2);  // a set cell above
  EXPECT_EQ(list.head(), nullptr);
  list.TraceContour(mask.data(), work.data(), 0, 0, 1, 2);
  EXPECT_EQ(Segments(list).size(), 6u);
  // Traced already: the work mask stops a second walk at once.
  list.TraceContour(mask.data(), work.data(), 0, 0, 1, 2);
  EXPECT_EQ(Segments(list).size(), 6u);
}

TEST(OutlineList, ALongOutlineIsReleasedWithoutDeepRecursion) {
  COutlineList list;
  for (int i = 0; i < 2'000'000; ++i) list.Append(i, 0, T);
  list.Clear();
  EXPECT_EQ(list.head(), nullptr);
  for (int i = 0; i < 2'000'000; ++i) list.Append(i, 0, T);
  // The destructor releases this one.
}

TEST(OutlineList, EveryTracedSideBordersAClearCellOrTheEdge) {
  // A 16 x 16 pattern with holes, corners and touching diagonals.
  std::vector<std::uint8_t> mask(256, 0);
  for (int i = 0; i < 256; ++i) mask[static_cast<std::size_t>(i)] = ((i * 7 + i / 16) % 5) < 2;
  COutlineList list;
  list.Trace(mask.data(), 16, 16, true);
  auto set = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < 16 && y < 16 && mask[static_cast<std::size_t>(y * 16 + x)];
  };
  int expected = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (set(x, y)) expected += !set(x, y - 1) + !set(x + 1, y) + !set(x, y + 1) + !set(x - 1, y);
  int count = 0;
  for (const OutlineSegment* s = list.head(); s != nullptr; s = s->next.get()) {
    ++count;
    ASSERT_TRUE(set(s->x, s->y));
    const int dx = s->direction == R ? 1 : s->direction == L ? -1 : 0;
    const int dy = s->direction == B ? 1 : s->direction == T ? -1 : 0;
    EXPECT_FALSE(set(s->x + dx, s->y + dy));
  }
  EXPECT_EQ(count, expected);
}

}  // namespace
}  // namespace pelo
