#include "bench_report.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef PELO_HAVE_LIBDEFLATE
#include <libdeflate.h>
#define PELO_LIBDEFLATE_VERSION "libdeflate " LIBDEFLATE_VERSION_STRING
#else
#define PELO_LIBDEFLATE_VERSION "no libdeflate"
#endif

namespace pelo::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Time(double seconds) {
  if (seconds <= 0) return "-";
  if (seconds < 1e-3) return Printf("%.1f us", seconds * 1e6);
  if (seconds < 1) return Printf("%.2f ms", seconds * 1e3);
  return Printf("%.3f s", seconds);
}

std::string Ratio(double a, double b) {
  return a > 0 && b > 0 ? Printf("%.2fx", a / b) : "-";
}

std::string MiB(double bytes) {
  if (bytes < 0.1 * kMiB) return Printf("%.1f KiB", bytes / 1024.0);
  return Printf("%.1f MiB", bytes / kMiB);
}

std::string GBps(double bytes, double seconds) {
  return seconds > 0 ? Printf("%.2f GB/s", bytes / seconds / 1e9) : "-";
}

std::string ReadLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  return "unknown";
}

std::string Command(const char* command) {
  std::string out;
  FILE* pipe = popen(command, "r");
  if (pipe == nullptr) return out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  pclose(pipe);
  return out;
}

bool IsLarge8Layers(const Row& row) {
  return row.shape.layers == 8 && row.shape.size >= 1024;
}

std::string Verdict(bool met) {
  return met ? "met" : "**not met**";
}

}  // namespace

Report::Report(std::string title, std::string zlibVersion, std::string pngVersion,
               std::string pixelForm)
    : title_(std::move(title)),
      zlibVersion_(std::move(zlibVersion)),
      pngVersion_(std::move(pngVersion)),
      pixelForm_(std::move(pixelForm)),
      loadBefore_(ReadLine("/proc/loadavg")) {}

std::string Report::Header() const {
  std::ostringstream out;
  out << "# " << title_ << "\n\n"
      << "Written by `scripts/bench.sh` (the recipe of the documents is in README.md). "
      << "Times are the CPU time of the calling thread (kernel time for page faults "
      << "included), medians of at least 7 rounds; each round times one batch of every "
      << "measurement of a document in turn, so load from elsewhere touches all of them "
      << "alike. The floors (a bare zlib and a bare libdeflate inflate of the same body, "
      << "checksum included) write into an output buffer that stays allocated and touched "
      << "from call to call; the module runs as a host sees it, in fresh memory on every "
      << "call (natively every block of 64 KiB or more is a new mapping).\n\n"
      << "- CPU: " << CpuModel() << ", " << Command("nproc | tr -d '\\n'") << " cores\n"
      << "- zlib " << zlibVersion_ << ", " << PELO_LIBDEFLATE_VERSION << ", libpng " << pngVersion_
      << "\n"
      << "- pixel operations: the " << pixelForm_ << " form natively";
  for (const DllRun& run : dlls_) out << "; the " << run.pixelForm << " form in the " << run.label;
  out << "\n"
      << "- load average before the run: " << loadBefore_
      << "; after: " << ReadLine("/proc/loadavg") << "\n"
      << "- busiest other processes at the end of the run (%CPU, command):\n\n```\n"
      << Command("ps -eo pcpu,comm --sort=-pcpu | grep -v pelo_bench | sed -n '2,6p'") << "```\n\n";
  return out.str();
}

std::string Report::PipelineTable() const {
  std::ostringstream out;
  out << "## Current format: the pipeline against a bare inflate of the same body\n\n"
      << "| Document | Body | Deflated | Ratio | zlib | libdeflate | GetPictureInfo | vs zlib | "
         "vs libdeflate | GetPicture | vs zlib | vs libdeflate |\n"
      << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
  for (const Row& r : current_) {
    out << "| " << Describe(r.shape) << " | " << MiB(r.bodyBytes) << " | " << MiB(r.fileBytes - 12)
        << " | " << Printf("%.1f", static_cast<double>(r.bodyBytes) / (r.fileBytes - 12)) << " | ";
    if (!r.refused.empty()) {
      out << r.refused << " | | | | | | | |\n";
      continue;
    }
    out << Time(r.inflate) << " | " << Time(r.libdeflate) << " | " << Time(r.info) << " | "
        << Ratio(r.info, r.inflate) << " | " << Ratio(r.info, r.libdeflate) << " | "
        << Time(r.picture) << " | " << Ratio(r.picture, r.inflate) << " | "
        << Ratio(r.picture, r.libdeflate) << " |\n";
  }
  return out.str() + "\n";
}

const Row* Report::NativeRow(const std::string& document) const {
  for (const Row& r : current_)
    if (Describe(r.shape) == document && r.refused.empty()) return &r;
  return nullptr;
}

std::string Report::DllTable(const DllRun& run) const {
  std::ostringstream out;
  out << "## " << run.label << ", beside the native module\n\n"
      << "Measured in the DLL's own process (" << run.bits
      << " Windows program): the module through its exports, the two floors linked into the "
         "same program. Wall time (under wine a thread's CPU time comes in 10 ms ticks), "
         "medians of the rounds. The DLL takes its large buffers from the Windows heap, fresh "
         "memory faulted in 4 KiB pages (under wine, anonymous mappings that ask for no huge "
         "pages; large pages on Windows need the \"Lock pages in memory\" privilege), so at "
         "4096 x 4096 most of a call is spent faulting its body and picture in, while the "
         "floors write into warm buffers.\n\n"
      << "| Document | Body | zlib | libdeflate | GetPictureInfo | GetPicture | vs zlib | "
         "vs libdeflate | native GetPicture | vs zlib | vs libdeflate |\n"
      << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
  for (const DllRow& r : run.rows) {
    out << "| " << r.document << " | " << MiB(static_cast<double>(r.bodyBytes)) << " | ";
    if (!r.refused.empty()) {
      out << r.refused << " | | | | | | | | |\n";
      continue;
    }
    out << Time(r.zlib) << " | " << Time(r.libdeflate) << " | " << Time(r.info) << " | "
        << Time(r.picture) << " | " << Ratio(r.picture, r.zlib) << " | "
        << Ratio(r.picture, r.libdeflate) << " | ";
    if (const Row* n = NativeRow(r.document))
      out << Time(n->picture) << " | " << Ratio(n->picture, n->inflate) << " | "
          << Ratio(n->picture, n->libdeflate) << " |\n";
    else
      out << "- | - | - |\n";
  }
  return out.str() + "\n";
}

std::string Report::PngTable() const {
  std::ostringstream out;
  out << "## Single 8-bit layer: GetPicture against libpng on the same picture\n\n"
      << "The picture stored as an indexed PNG at zlib level 6, decoded from memory into a "
         "new buffer.\n\n"
      << "| Document | .pel | PNG | GetPicture | libpng | GetPicture / libpng |\n"
      << "|---|---:|---:|---:|---:|---:|\n";
  for (const Row& r : current_) {
    if (r.png <= 0) continue;
    out << "| " << Describe(r.shape) << " | " << MiB(r.fileBytes) << " | " << MiB(r.pngBytes)
        << " | " << Time(r.picture) << " | " << Time(r.png) << " | " << Ratio(r.picture, r.png)
        << " |\n";
  }
  return out.str() + "\n";
}

std::string Report::CompositionTable() const {
  std::ostringstream out;
  out << "## Composition alone against memcpy of the same bytes\n\n"
      << "The builder's own composition of the picture's rows into an existing block (the "
         "bottom layer copied, every layer above it drawn by the keyed blit), against memcpy of "
         "every layer into the same block; the two are timed as a pair of their own. Throughput "
         "counts layer bytes read.\n\n"
      << "| Document | Layer bytes | Composition | Throughput | memcpy | Throughput | "
         "Composition / memcpy |\n"
      << "|---|---:|---:|---:|---:|---:|---:|\n";
  for (const Row& r : current_) {
    if (!r.refused.empty()) continue;
    const auto bytes = static_cast<double>(r.layerBytes);
    out << "| " << Describe(r.shape) << " | " << MiB(bytes) << " | " << Time(r.compose) << " | "
        << GBps(bytes, r.compose) << " | " << Time(r.copy) << " | " << GBps(bytes, r.copy) << " | "
        << Printf("%.2f", r.copy / r.compose) << " |\n";
  }
  return out.str() + "\n";
}

std::string Report::HeapTable() const {
  std::ostringstream out;
  out << "## Peak heap during GetPicture\n\n"
      << "Every byte the process held on the C heap or in anonymous mappings above what it "
         "held before the call (the module's blocks, the decoders' state, the two output "
         "blocks).\n\n"
      << "| Document | Body | Output | Peak heap | Peak / (body + output) | "
         "Limit 2 x body + output + 1 MiB |\n"
      << "|---|---:|---:|---:|---:|---:|\n";
  for (const Row& r : current_) {
    if (!r.refused.empty()) continue;
    const double limit = 2.0 * r.bodyBytes + r.outputBytes + kMiB;
    out << "| " << Describe(r.shape) << " | " << MiB(r.bodyBytes) << " | " << MiB(r.outputBytes)
        << " | " << MiB(static_cast<double>(r.peakHeap)) << " | "
        << Printf("%.2f", static_cast<double>(r.peakHeap) / (r.bodyBytes + r.outputBytes)) << " | "
        << MiB(limit) << " |\n";
  }
  return out.str() + "\n";
}

std::string Report::LegacyTable() const {
  std::ostringstream out;
  out << "## Legacy format\n\n"
      << "| Document | File | GetPictureInfo | GetPicture | Output | Output written | "
         "Peak heap |\n"
      << "|---|---:|---:|---:|---:|---:|---:|\n";
  for (const Row& r : legacy_) {
    out << "| " << Describe(r.shape) << " | " << MiB(r.fileBytes) << " | ";
    if (!r.refused.empty()) {
      out << r.refused << " | | | | |\n";
      continue;
    }
    out << Time(r.info) << " | " << Time(r.picture) << " | " << MiB(r.outputBytes) << " | "
        << GBps(r.outputBytes, r.picture) << " | " << MiB(static_cast<double>(r.peakHeap))
        << " |\n";
  }
  return out.str() + "\n";
}

std::string Report::Targets() const {
  std::ostringstream out;
  out << "## Targets\n\nGetPicture in fresh memory, against the floors in warm buffers.\n\n"
      << "| Target | Document | Measured | Verdict |\n|---|---|---:|---|\n";
  for (const Row& r : current_) {
    if (!IsLarge8Layers(r)) continue;
    if (!r.refused.empty()) {
      out << "| GetPictureInfo, GetPicture | " << Describe(r.shape) << " | " << r.refused
          << " | **not met** |\n";
      continue;
    }
    const double libdeflateLimit = r.shape.depth == 8 ? 1.3 : 1.4;
    out << "| GetPictureInfo within 1.10x zlib | " << Describe(r.shape) << " | "
        << Ratio(r.info, r.inflate) << " | " << Verdict(r.info <= 1.10 * r.inflate) << " |\n"
        << "| GetPicture at most 0.50x zlib | " << Describe(r.shape) << " | "
        << Ratio(r.picture, r.inflate) << " | " << Verdict(r.picture <= 0.5 * r.inflate) << " |\n"
        << "| GetPicture within " << Printf("%.1f", libdeflateLimit) << "x libdeflate | "
        << Describe(r.shape) << " | " << Ratio(r.picture, r.libdeflate) << " | "
        << Verdict(r.picture <= libdeflateLimit * r.libdeflate) << " |\n";
  }
  for (const DllRun& run : dlls_) {
    if (run.bits != "64-bit") continue;
    for (const DllRow& r : run.rows) {
      if (r.document.rfind("1024x1024 8 layers", 0) != 0) continue;
      const double libdeflateLimit = r.document.find("24-bit") == std::string::npos ? 1.3 : 1.4;
      if (!r.refused.empty()) {
        out << "| " << run.label << ": GetPicture | " << r.document << " | " << r.refused
            << " | **not met** |\n";
        continue;
      }
      out << "| " << run.label << ": GetPicture at most 0.60x zlib | " << r.document << " | "
          << Ratio(r.picture, r.zlib) << " | " << Verdict(r.picture <= 0.6 * r.zlib) << " |\n"
          << "| " << run.label << ": GetPicture within " << Printf("%.1f", libdeflateLimit)
          << "x libdeflate | " << r.document << " | " << Ratio(r.picture, r.libdeflate) << " | "
          << Verdict(r.picture <= libdeflateLimit * r.libdeflate) << " |\n";
    }
  }
  for (const Row& r : current_) {
    if (r.png <= 0) continue;
    out << "| GetPicture at least 2.5x faster than libpng | " << Describe(r.shape) << " | "
        << Ratio(r.picture, r.png) << " | " << Verdict(r.picture * 2.5 <= r.png) << " |\n";
  }
  for (const Row& r : current_) {
    if (r.shape.size != 64 || !r.refused.empty()) continue;
    out << "| GetPicture within 1.3x zlib | " << Describe(r.shape) << " | "
        << Ratio(r.picture, r.inflate) << " | " << Verdict(r.picture <= 1.3 * r.inflate) << " |\n";
  }
  for (const Row& r : current_) {
    if (!r.refused.empty()) continue;
    out << "| Composition at least half of memcpy | " << Describe(r.shape) << " | "
        << Printf("%.2f", r.copy / r.compose) << " | " << Verdict(r.copy / r.compose >= 0.5)
        << " |\n";
  }
  for (const Row& r : current_) {
    if (!r.refused.empty()) continue;
    const double limit = 2.0 * r.bodyBytes + r.outputBytes + kMiB;
    out << "| Peak heap within 2 x body + output + 1 MiB | " << Describe(r.shape) << " | "
        << MiB(static_cast<double>(r.peakHeap)) << " | "
        << Verdict(static_cast<double>(r.peakHeap) <= limit) << " |\n";
  }
  return out.str() + "\n";
}

std::string Report::Markdown() {
  std::string dllTables;
  for (const DllRun& run : dlls_) dllTables += DllTable(run);
  return Header() + Targets() + PipelineTable() + dllTables + PngTable() + CompositionTable() +
         HeapTable() + LegacyTable();
}

}  // namespace pelo::bench
