// The documents the benchmark measures, written with the project's own
// writer: pixel-art-like pages of flat blocks with a little shading, the
// upper layers mostly transparent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::bench {

using test::Bytes;

enum class Format { kCurrent, kLegacy };

struct DocumentShape {
  Format format = Format::kCurrent;
  int size = 0;  // width and height of the page
  int layers = 1;
  int depth = 8;  // 8 or 24
};

struct BenchDocument {
  DocumentShape shape;
  Bytes file;
  // Current format: the inflated body's size and where its zlib stream
  // starts in file.
  std::size_t bodySize = 0;
  std::size_t streamOffset = 12;
  // The picture GetPicture must return, top row first, width * bytes per
  // pixel per row (only kept for single-layer 8-bit documents).
  Bytes picture;
};

std::string Describe(const DocumentShape& shape);

// The documents' 256 colours, blue, green, red; entry 0 is the background.
Bytes BenchPalette();

// Deterministic: the same shape always gives the same bytes.
BenchDocument MakeBenchDocument(const DocumentShape& shape);

// Pixels of one layer: index 0 is the transparent background.
Bytes PaintLayer(int size, int depth, bool bottom, std::uint64_t seed);

}  // namespace pelo::bench
