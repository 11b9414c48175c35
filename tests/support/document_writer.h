// Whole documents from readable C++: current-format record bodies and files,
// and legacy files with their run-insertion blocks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/record_writer.h"

namespace pelo::test {

struct SelectionDesc {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  Bytes mask;    // one byte per cell
  Bytes pixels;  // packed: the pixels of the marked cells only
};

struct LayerDesc {
  std::string name;
  std::uint8_t visible = 1;
  Bytes pixels;  // written as record 1006 unless empty
  std::optional<SelectionDesc> selection;
  RecordWriter extra;  // further records appended to the body
};

struct PageDesc {
  std::string name;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::vector<LayerDesc> layers;
  std::optional<std::int32_t> currentLayer = 0;
  RecordWriter extra;
};

struct PaletteDesc {
  std::string name;
  Bytes colors;  // colorCount entries of blue, green, red
  RecordWriter extra;
};

struct DocumentDesc {
  std::uint8_t depth = 8;
  std::uint8_t colorFormat = 0;
  std::uint16_t colorCount = 256;
  std::vector<PaletteDesc> palettes;
  std::optional<std::int32_t> currentPalette = 0;
  std::vector<PageDesc> pages;
  std::optional<std::int32_t> currentPage = 0;
  std::uint8_t backgroundIndex = 0;
  std::array<std::uint8_t, 3> backgroundColor{};  // blue, green, red
  std::optional<std::uint32_t> bank;              // record 4000 when set
  RecordWriter extra;
};

RecordWriter SelectionBody(const SelectionDesc& selection);
RecordWriter LayerBody(const LayerDesc& layer);
RecordWriter PageBody(const PageDesc& page);
RecordWriter PaletteBody(const PaletteDesc& palette);
RecordWriter DocumentBody(const DocumentDesc& document);
Bytes WriteDocumentFile(const DocumentDesc& document, const ContainerOptions& options = {});

struct LegacyRun {
  std::uint32_t position = 0;
  std::uint32_t length = 0;
  std::uint8_t value = 0;
};

struct LegacyLayerDesc {
  std::string name;
  std::uint8_t visible = 1;
  std::vector<LegacyRun> runs;
  Bytes literals;
};

struct LegacyFileDesc {
  std::array<char, 10> signature{'P', 'E', 'L', 'O', 0};
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::optional<std::uint16_t> declaredLayerCount;  // the true count when unset
  std::uint8_t transparentIndex = 0;
  Bytes paletteRgb;  // 256 entries of red, green, blue; zero-filled when shorter
  std::vector<LegacyLayerDesc> layers;
};

// Encodes pixels as literals with every run of at least minRun equal bytes
// stored as a run.
LegacyLayerDesc EncodeLegacyLayer(std::string name, std::uint8_t visible, const Bytes& pixels,
                                  std::size_t minRun = 4);
Bytes WriteLegacyFile(const LegacyFileDesc& file);

}  // namespace pelo::test
