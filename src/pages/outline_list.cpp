#include "pages/outline_list.h"

#include "platform/allocation.h"
#include "platform/exception.h"

namespace pelo {

namespace {

// The mask as the tracer sees it: cells outside the mask are clear.
class MaskView {
 public:
  MaskView(const std::uint8_t* mask, int width, int height)
      : mask_(mask), width_(width), height_(height) {}

  bool Set(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return mask_[Index(x, y)] != 0;
  }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

 private:
  const std::uint8_t* mask_;
  int width_;
  int height_;
};

}  // namespace

COutlineList::~COutlineList() {
  Clear();
}

void COutlineList::Clear() {
  // One segment at a time: letting the unique_ptr chain destroy itself would
  // recurse once per segment, and an outline of a large mask is long.
  while (head_) head_ = std::move(head_->next);
  tail_ = nullptr;
}

void COutlineList::Append(std::int32_t x, std::int32_t y, std::uint8_t direction) {
  auto segment = std::make_unique<OutlineSegment>();
  segment->x = x;
  segment->y = y;
  segment->direction = direction;
  OutlineSegment* added = segment.get();
  if (tail_ == nullptr) {
    head_ = std::move(segment);
  } else {
    tail_->next = std::move(segment);
  }
  tail_ = added;
}

void COutlineList::Trace(const std::uint8_t* mask, int width, int height, bool force) {
  if (!force && head_) return;
  Clear();
  if (mask == nullptr || width <= 0 || height <= 0) return;
  std::size_t cells = 0;
  if (!CheckedMul(static_cast<std::size_t>(width), static_cast<std::size_t>(height), &cells))
    throw CMemoryException();
  std::unique_ptr<std::uint8_t[]> work = AllocateZeroedBytes(cells);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) TraceContour(mask, work.get(), x, y, width, height);
}

void COutlineList::TraceContour(const std::uint8_t* mask, std::uint8_t* work, int x, int y,
                                int width, int height) {
  const MaskView m(mask, width, height);
  // A contour starts only at a top side: a set cell with no set cell above.
  if (!m.Set(x, y) || m.Set(x, y - 1)) return;
  std::uint8_t side = kTop;
  for (;;) {
    std::uint8_t& visited = work[m.Index(x, y)];
    if ((visited & side) != 0) return;
    visited = static_cast<std::uint8_t>(visited | side);

    // At an inner corner the state only passes through: no side of the
    // outline lies there.
    bool corner = false;
    switch (side) {
      case kTop:
        corner = m.Set(x - 1, y) && m.Set(x, y - 1);
        break;
      case kRight:
        corner = m.Set(x + 1, y) && m.Set(x, y - 1);
        break;
      case kBottom:
        corner = m.Set(x + 1, y) && m.Set(x, y + 1);
        break;
      default:  // kLeft
        corner = m.Set(x - 1, y) && m.Set(x, y + 1);
        break;
    }
    if (!corner) Append(x, y, side);

    switch (side) {
      case kTop:
        if (m.Set(x, y - 1)) {
          --y;
          side = kLeft;
        } else if (x == width - 1) {
          side = kRight;
        } else if (m.Set(x + 1, y)) {
          ++x;
        } else {
          side = kRight;
        }
        break;
      case kRight:
        if (m.Set(x + 1, y)) {
          ++x;
          side = kTop;
        } else if (y == height - 1) {
          side = kBottom;
        } else if (m.Set(x, y + 1)) {
          ++y;
        } else {
          side = kBottom;
        }
        break;
      case kBottom:
        if (m.Set(x, y + 1)) {
          ++y;
          side = kRight;
        } else if (x == 0) {
          side = kLeft;
        } else if (m.Set(x - 1, y)) {
          --x;
        } else {
          side = kLeft;
        }
        break;
      default:  // kLeft
        if (m.Set(x - 1, y)) {
          --x;
          side = kBottom;
        } else if (y == 0) {
          side = kTop;
        } else if (m.Set(x, y - 1)) {
          --y;
        } else {
          side = kTop;
        }
        break;
    }
  }
}

}  // namespace pelo
