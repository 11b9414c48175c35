// The benchmark's tables and the verdict on each target, as markdown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bench_documents.h"

namespace pelo::bench {

// Figures of one document; times are median seconds per call.
struct Row {
  DocumentShape shape;
  std::string refused;  // why nothing was measured, when not empty
  int rounds = 0;
  std::size_t fileBytes = 0;
  std::size_t bodyBytes = 0;  // the legacy file's size for legacy documents
  std::size_t outputBytes = 0;
  std::size_t layerBytes = 0;
  std::size_t pngBytes = 0;
  double inflate = 0;     // bare zlib inflate into a warm buffer
  double libdeflate = 0;  // bare libdeflate inflate into a warm buffer
  double info = 0;
  double picture = 0;
  double png = 0;
  double compose = 0;
  double copy = 0;
  std::int64_t peakHeap = 0;
};

// One document measured inside a Windows DLL's process.
struct DllRow {
  std::string document;
  std::string refused;
  std::size_t bodyBytes = 0;
  double zlib = 0;
  double libdeflate = 0;
  double info = 0;
  double picture = 0;
};

struct DllRun {
  std::string label;  // e.g. "64-bit DLL under wine"
  std::string bits;
  std::string pixelForm;
  std::vector<DllRow> rows;
};

class Report {
 public:
  // pixelForm: the form of the pixel operations this processor runs.
  Report(std::string title, std::string zlibVersion, std::string pngVersion, std::string pixelForm);

  void AddCurrent(Row row) { current_.push_back(std::move(row)); }
  void AddLegacy(Row row) { legacy_.push_back(std::move(row)); }
  void AddDll(DllRun run) { dlls_.push_back(std::move(run)); }
  std::string Markdown();

 private:
  std::string Header() const;
  std::string PipelineTable() const;
  std::string PngTable() const;
  std::string CompositionTable() const;
  std::string HeapTable() const;
  std::string LegacyTable() const;
  std::string DllTable(const DllRun& run) const;
  const Row* NativeRow(const std::string& document) const;
  std::string Targets() const;

  std::string title_;
  std::string zlibVersion_;
  std::string pngVersion_;
  std::string pixelForm_;
  std::string loadBefore_;
  std::vector<Row> current_;
  std::vector<Row> legacy_;
  std::vector<DllRun> dlls_;
};

}  // namespace pelo::bench
