// The outline of a byte mask: the unit sides of set cells that border clear
// cells or the mask's edge, contour after contour, each travelled clockwise
// on screen with the set cells on its right.
#pragma once

#include <cstdint>
#include <memory>

namespace pelo {

struct OutlineSegment {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint8_t direction = 0;  // kTop, kRight, kBottom or kLeft
  std::unique_ptr<OutlineSegment> next;
};

class COutlineList {
 public:
  static constexpr std::uint8_t kLeft = 1;
  static constexpr std::uint8_t kRight = 2;
  static constexpr std::uint8_t kBottom = 4;
  static constexpr std::uint8_t kTop = 8;

  COutlineList() = default;
  COutlineList(const COutlineList&) = delete;
  COutlineList& operator=(const COutlineList&) = delete;
  virtual ~COutlineList();

  void Clear();
  void Append(std::int32_t x, std::int32_t y, std::uint8_t direction);
  // Traces every contour of a width x height mask (nonzero = set). With force
  // clear, a list that already holds segments is left as it is.
  void Trace(const std::uint8_t* mask, int width, int height, bool force);
  // Follows the one contour whose first top side is that of cell (x, y), if
  // such a contour starts there; work marks the sides already visited.
  void TraceContour(const std::uint8_t* mask, std::uint8_t* work, int x, int y, int width,
                    int height);

  const OutlineSegment* head() const { return head_.get(); }
  const OutlineSegment* tail() const { return tail_; }

 private:
  std::unique_ptr<OutlineSegment> head_;
  OutlineSegment* tail_ = nullptr;
};

}  // namespace pelo
