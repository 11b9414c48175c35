// The same picture as an indexed PNG, for comparing GetPicture with a
// general-purpose decoder that inflates the same kind of data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelo::bench {

using PngBytes = std::vector<std::uint8_t>;

// An 8-bit palette PNG of width x height indices (rows top first) at zlib
// compression level.
PngBytes EncodeIndexedPng(const std::vector<std::uint8_t>& indices, int width, int height,
                          const std::vector<std::uint8_t>& paletteBgr, int level);

struct DecodedPng {
  std::unique_ptr<std::uint8_t[]> pixels;  // rows top first
  std::size_t size = 0;                    // 0 on failure
};

// Decodes png into a freshly allocated, uncleared buffer, as a viewer would.
DecodedPng DecodeIndexedPng(const PngBytes& png);

std::string LibpngVersion();

}  // namespace pelo::bench
