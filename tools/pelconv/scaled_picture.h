// A picture made to fit a square by nearest-neighbour scaling with whole
// factors only: a small picture is enlarged by the largest whole factor that
// still fits, a large one keeps every n-th pixel for the smallest whole n
// that fits. Pixel art stays sharp and gains no colour; an 8-bit picture
// keeps its colour table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture_rows.h"

namespace pelo::tools {

class ScaledPicture : public PictureRows {
 public:
  // The largest square side accepted, so a thumbnail stays a few megabytes.
  static constexpr int kMaxSide = 4096;

  // side is between 1 and kMaxSide.
  ScaledPicture(const PictureRows& source, int side);

  int width() const override { return width_; }
  int height() const override { return height_; }
  int bitsPerPixel() const override { return source_.bitsPerPixel(); }
  const std::uint8_t* Row(int y) const override;
  PaletteEntry Color(int i) const override { return source_.Color(i); }

 private:
  // Where output coordinate i samples the source.
  int SourceIndex(int i) const { return enlarge_ > 1 ? i / enlarge_ : i * step_; }
  void Fill();

  const PictureRows& source_;
  int enlarge_ = 1;
  int step_ = 1;
  int width_ = 0;
  int height_ = 0;
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace pelo::tools
