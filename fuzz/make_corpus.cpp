// Writes the seed corpora of the fuzz targets with the project's own
// writer: make_corpus <corpus dir> fills <dir>/picture, <dir>/record_body
// and <dir>/run_length. The seeds are small on purpose: the fuzzer grows
// them, and a small seed is mutated many more times a second.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/document_writer.h"
#include "support/hostile_files.h"

namespace pelo::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLegacyLayerOffset = 789;
constexpr std::size_t kLegacyBlockOffset = kLegacyLayerOffset + 81;

void Save(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes Ramp(std::size_t count, std::uint8_t step) {
  Bytes b(count);
  for (std::size_t i = 0; i < count; ++i) b[i] = static_cast<std::uint8_t>(i * step);
  return b;
}

DocumentDesc Indexed(std::uint8_t depth, std::uint16_t colors) {
  DocumentDesc d;
  d.depth = depth;
  d.colorCount = colors;
  d.palettes = {{"pal", Ramp(3u * colors, 37), {}}};
  PageDesc page{"page", 4, 3, {}, 0, {}};
  page.layers.push_back({"top", 1, Ramp(12, 5), {}, {}});
  page.layers.push_back({"hidden", 0, Bytes(12, 1), {}, {}});
  d.pages = {page};
  return d;
}

DocumentDesc TrueColor() {
  DocumentDesc d;
  d.depth = 24;
  d.colorCount = 0;
  d.palettes = {};
  d.currentPalette.reset();
  PageDesc page{"rgb", 3, 2, {}, 0, {}};
  page.layers.push_back({"l", 1, Ramp(18, 11), {}, {}});
  d.pages = {page};
  return d;
}

DocumentDesc WithSelection() {
  DocumentDesc d = Indexed(8, 4);
  SelectionDesc s{-1, 1, 2, 3, {1, 0, 1, 1, 0, 1}, {7, 8, 9, 10}};
  d.pages[0].layers[0].selection = s;
  return d;
}

DocumentDesc WithByteMapAndExtras() {
  DocumentDesc d = Indexed(4, 16);
  d.pages[0].extra.Dword(4000, 2 | (2u << 16)).Data(4001, {1, 2, 3, 4}).Byte(2000, 1);
  d.pages[0].layers[0].extra.Dword(2000, 50).Byte(2001, 1).Byte(2002, 2).Byte(1007, 1);
  d.palettes[0].extra.Data(1007, Bytes(16, 1)).Byte(2001, 3);
  d.extra.Byte(1002, 1).Byte(1003, 2).Dword(2001, 5).Dword(3002, 2);
  return d;
}

DocumentDesc TwoPages() {
  DocumentDesc d = Indexed(8, 2);
  PageDesc second{"second", 2, 2, {}, 0, {}};
  second.layers.push_back({"a", 1, {1, 0, 0, 1}, {}, {}});
  d.pages.push_back(second);
  d.currentPage = 1;
  d.bank = 0x00100004;
  return d;
}

Bytes LegacyFile(std::uint32_t width, std::uint32_t height, int layers) {
  LegacyFileDesc f;
  f.width = width;
  f.height = height;
  f.paletteRgb = Ramp(48, 17);
  for (int i = 0; i < layers; ++i) {
    Bytes pixels(width * height, static_cast<std::uint8_t>(i));
    for (std::size_t p = 0; p < pixels.size(); p += 3) pixels[p] = static_cast<std::uint8_t>(p);
    f.layers.push_back(EncodeLegacyLayer("layer" + std::to_string(i), i != 1, pixels, 2));
  }
  return WriteLegacyFile(f);
}

Bytes Prefixed(std::initializer_list<std::uint8_t> prefix, const Bytes& bytes) {
  Bytes out(prefix);
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

void WriteSeeds(const fs::path& root) {
  const DocumentDesc documents[] = {Indexed(8, 4),   Indexed(1, 2),          TrueColor(),
                                    WithSelection(), WithByteMapAndExtras(), TwoPages()};
  fs::create_directories(root / "picture");
  fs::create_directories(root / "record_body");
  fs::create_directories(root / "run_length");
  int n = 0;
  for (const DocumentDesc& d : documents) {
    const Bytes body = DocumentBody(d).bytes();
    Save(root / "record_body" / ("document" + std::to_string(n) + ".body"), body);
    for (std::uint8_t mode : {0, 1}) {
      const std::string name = "document" + std::to_string(n) + "-mode" + std::to_string(mode);
      Save(root / "picture" / (name + ".pel"), Prefixed({mode}, MakeContainer(body)));
    }
    ++n;
  }
  const Bytes legacy[] = {LegacyFile(4, 3, 1), LegacyFile(5, 2, 3)};
  for (int i = 0; i < 2; ++i) {
    for (std::uint8_t mode : {0, 1})
      Save(root / "picture" /
               ("legacy" + std::to_string(i) + "-mode" + std::to_string(mode) + ".pel"),
           Prefixed({mode}, legacy[i]));
  }
  // The small hostile files of the tests, as starting points for worse ones.
  n = 0;
  for (const HostileFile& f : HostileFiles()) {
    if (f.bytes.size() > 4096) continue;
    Save(root / "picture" / ("hostile" + std::to_string(n++) + ".pel"), Prefixed({1}, f.bytes));
  }
  // One layer's block, behind two bytes of output size.
  const Bytes one = LegacyFile(4, 3, 1);
  Save(root / "run_length" / "layer.block",
       Prefixed({12, 0}, Bytes(one.begin() + kLegacyBlockOffset, one.end())));
  LegacyLayerDesc mixed{"m", 1, {{1, 2, 'X'}, {1, 1, 'Y'}, {3, 4, 'Z'}}, {'A', 'B', 'C'}};
  LegacyFileDesc f;
  f.layers = {mixed};
  const Bytes file = WriteLegacyFile(f);
  Save(root / "run_length" / "mixed.block",
       Prefixed({16, 0}, Bytes(file.begin() + kLegacyBlockOffset, file.end())));
}

}  // namespace
}  // namespace pelo::test

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_corpus <corpus dir>\n");
    return 2;
  }
  pelo::test::WriteSeeds(argv[1]);
  return 0;
}
