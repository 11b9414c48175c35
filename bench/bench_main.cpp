// The benchmark: one run measures every document shape side by side with
// its floors (a bare inflate of the same body, libpng on the same picture,
// memcpy of the same bytes) and writes the tables as markdown.
#include <malloc.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bare_inflate.h"
#include "bench_documents.h"
#include "bench_report.h"
#include "document/image_document.h"
#include "heap_counter.h"
#include "module_calls.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/mem_file.h"
#include "plugin/bitmap_builder.h"
#include "plugin/pixel_kernels.h"
#include "plugin/spi_api.h"
#include "png_reference.h"
#include "round_timer.h"

namespace pelo::bench {
namespace {

std::size_t Stride(const DocumentShape& shape) {
  return (static_cast<std::size_t>(shape.size) * (shape.depth / 8) + 3) & ~std::size_t{3};
}

std::size_t OutputBytes(const DocumentShape& shape) {
  const std::size_t header = 40 + (shape.depth == 8 ? 1024 : 0);
  return header + Stride(shape) * static_cast<std::size_t>(shape.size);
}

// The whole picture as the module returns it matches the single layer it
// was painted from (no pixel of that layer is the key).
bool PictureMatches(const BenchDocument& doc) {
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  if (GetPicture(Source(doc), static_cast<intptr_t>(doc.file.size()), kMemorySource, &header,
                 &pixels, nullptr, 0) != SPI_SUCCESS)
    return false;
  const auto* bits = static_cast<const std::uint8_t*>(LocalLock(pixels));
  const std::size_t stride = Stride(doc.shape);
  const auto side = static_cast<std::size_t>(doc.shape.size);
  bool same = bits != nullptr;
  for (std::size_t y = 0; same && y < side; ++y)
    same = std::memcmp(bits + stride * (side - 1 - y), doc.picture.data() + side * y, side) == 0;
  LocalUnlock(pixels);
  LocalFree(header);
  LocalFree(pixels);
  return same;
}

std::int64_t PeakHeapOfPicture(const BenchDocument& doc) {
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  const std::int64_t before = HeapCounter::Current();
  HeapCounter::ResetPeak();
  GetPicture(Source(doc), static_cast<intptr_t>(doc.file.size()), kMemorySource, &header, &pixels,
             nullptr, 0);
  const std::int64_t peak = HeapCounter::Peak() - before;
  LocalFree(header);
  LocalFree(pixels);
  return peak;
}

// The composition of a loaded document, exactly as the builder does it,
// into a block that already exists.
class Composition {
 public:
  explicit Composition(const BenchDocument& doc) : shape_(doc.shape) {
    CMemFile file(doc.file.data(), doc.file.size());
    loaded_ = document_.Load(file);
    const auto* page = static_cast<const CPage*>(document_.pages.GetCurrent());
    if (!loaded_ || page == nullptr) return;
    for (int i = page->layers.GetCount() - 1; i >= 0; --i)
      layers_.push_back(static_cast<const CLayer*>(page->layers.GetAt(i)));
    planned_ = PlanPicture(document_, PictureChoice(), &plan_) == kResultSuccess;
    output_.assign(Stride(shape_) * static_cast<std::size_t>(shape_.size), 0);
  }

  bool Loaded() const { return loaded_ && planned_ && plan_.pixelBytes == output_.size(); }

  std::size_t LayerBytes() const {
    std::size_t total = 0;
    for (const CLayer* layer : layers_) total += layer->pixelsSize;
    return total;
  }

  bool Compose() {
    DrawPicture(plan_, nullptr, output_.data());
    return true;
  }

  bool Copy() {
    for (const CLayer* layer : layers_)
      std::memcpy(output_.data(), layer->pixels.get(), layer->pixelsSize);
    return true;
  }

 private:
  DocumentShape shape_;
  CImageDocument document_;
  bool loaded_ = false;
  bool planned_ = false;
  PicturePlan plan_;
  std::vector<const CLayer*> layers_;
  Bytes output_;
};

Row MeasureCurrent(const DocumentShape& shape) {
  Row row;
  row.shape = shape;
  const BenchDocument doc = MakeBenchDocument(shape);
  row.fileBytes = doc.file.size();
  row.bodyBytes = doc.bodySize;
  row.outputBytes = OutputBytes(shape);
  Composition composition(doc);
  if (!composition.Loaded()) {
    row.refused = "refused by the loader (result 3)";
    return row;
  }
  if (!doc.picture.empty() && !PictureMatches(doc)) {
    row.refused = "wrong picture";
    return row;
  }
  row.layerBytes = composition.LayerBytes();
  std::optional<PngBytes> png;
  const Bytes palette = BenchPalette();
  if (!doc.picture.empty()) png = EncodeIndexedPng(doc.picture, shape.size, shape.size, palette, 6);
  const std::size_t pictureBytes = doc.picture.size();

  BareInflate bare(doc);
  RoundTimer timer;
  AddPipelineTasks(timer, bare, doc);
  if (png) {
    row.pngBytes = png->size();
    timer.Add("libpng", [&] { return DecodeIndexedPng(*png).size == pictureBytes; });
  }
  // The composition and its memcpy are timed as a pair of their own: the
  // large calls above would otherwise leave them caches and mappings in
  // different states.
  RoundTimer pair;
  pair.Add("compose", [&] { return composition.Compose(); });
  pair.Add("memcpy", [&] { return composition.Copy(); });
  if (!timer.Run() || !pair.Run()) {
    row.refused = "a measured call failed";
    return row;
  }
  row.rounds = std::min(timer.Rounds(), pair.Rounds());
  row.inflate = timer.Median(0);
  row.libdeflate = timer.Median(1);
  row.info = timer.Median(2);
  row.picture = timer.Median(3);
  if (png) row.png = timer.Median(4);
  row.compose = pair.Median(0);
  row.copy = pair.Median(1);
  row.peakHeap = PeakHeapOfPicture(doc);
  return row;
}

Row MeasureLegacy(const DocumentShape& shape) {
  Row row;
  row.shape = shape;
  const BenchDocument doc = MakeBenchDocument(shape);
  row.fileBytes = doc.file.size();
  row.bodyBytes = doc.file.size();
  row.outputBytes = OutputBytes(shape);
  RoundTimer timer;
  timer.Add("GetPictureInfo", [&] { return PictureInfoOf(doc); });
  timer.Add("GetPicture", [&] { return PictureOf(doc); });
  if (!timer.Run()) {
    row.refused = "a measured call failed";
    return row;
  }
  row.rounds = timer.Rounds();
  row.info = timer.Median(0);
  row.picture = timer.Median(1);
  row.peakHeap = PeakHeapOfPicture(doc);
  return row;
}

// The rows pelo_bench_dll wrote in a Windows DLL's process: a first line
// "#, bits, pixel form", then per document its name, body and file sizes,
// and the median seconds of zlib, libdeflate, GetPictureInfo, GetPicture.
DllRun ReadDllRows(const std::string& label, const std::string& path) {
  DllRun run;
  run.label = label;
  std::ifstream in(path);
  std::string line;
  // Written by a Windows program to its standard output: lines end in CR LF.
  auto next = [&in, &line] {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  if (next()) {
    std::stringstream head(line);
    std::string mark;
    std::getline(head, mark, '\t');
    std::getline(head, run.bits, '\t');
    std::getline(head, run.pixelForm, '\t');
  }
  while (next()) {
    std::stringstream fields(line);
    DllRow row;
    std::string body, file, refused;
    std::getline(fields, row.document, '\t');
    std::getline(fields, body, '\t');
    std::getline(fields, file, '\t');
    row.bodyBytes = std::strtoull(body.c_str(), nullptr, 10);
    if (line.find("out of memory") != std::string::npos) {
      row.refused = "the benchmark program ran out of memory";
    } else if (line.find("refused") != std::string::npos) {
      row.refused = "a measured call failed";
    } else {
      fields >> row.zlib >> row.libdeflate >> row.info >> row.picture;
    }
    run.rows.push_back(row);
  }
  return run;
}

std::vector<int> ParseSizes(const char* text) {
  std::vector<int> sizes;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) sizes.push_back(std::atoi(item.c_str()));
  return sizes;
}

}  // namespace
}  // namespace pelo::bench

int main(int argc, char** argv) {
  using namespace pelo::bench;
  std::string output;
  std::string title = "Benchmarks";
  std::vector<int> sizes = {64, 256, 1024, 4096};
  std::vector<DllRun> dllRuns;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--output") output = argv[i + 1];
    // --dll LABEL=PATH: rows measured in a Windows DLL's own process.
    if (option == "--dll") {
      const std::string value = argv[i + 1];
      const std::size_t equals = value.find('=');
      dllRuns.push_back(ReadDllRows(value.substr(0, equals), value.substr(equals + 1)));
    }
    if (option == "--sizes") sizes = ParseSizes(argv[i + 1]);
    if (option == "--title") title = argv[i + 1];
  }
  // A host opens each picture in memory it has not touched yet: large
  // blocks always come from fresh mappings, never from a warm heap.
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
  Report report(title, zlibVersion(), LibpngVersion(), pelo::ActivePixelKernels().name);
  for (DllRun& run : dllRuns) report.AddDll(std::move(run));
  for (int size : sizes)
    for (int layers : {1, 8})
      for (int depth : {8, 24}) {
        const DocumentShape shape{Format::kCurrent, size, layers, depth};
        std::cerr << "measuring " << Describe(shape) << std::endl;
        report.AddCurrent(MeasureCurrent(shape));
      }
  for (int size : sizes)
    for (int layers : {1, 8}) {
      const DocumentShape shape{Format::kLegacy, size, layers, 8};
      std::cerr << "measuring " << Describe(shape) << std::endl;
      report.AddLegacy(MeasureLegacy(shape));
    }
  const std::string text = report.Markdown();
  std::cout << text;
  if (!output.empty()) std::ofstream(output, std::ios::binary) << text;
  return 0;
}
