// The benchmark inside a Windows DLL's own process (under wine on this
// machine): for every current-format document, the module's two calls
// against a bare zlib and a bare libdeflate inflate of the same body in the
// same process. Writes one tab-separated line per document, which the
// native benchmark puts beside its own rows in BENCHMARKS.md.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "bare_inflate.h"
#include "bench_documents.h"
#include "module_calls.h"
#include "plugin/pixel_kernels.h"
#include "plugin/spi_api.h"
#include "round_timer.h"

namespace pelo::bench {
namespace {

std::string MeasureDocument(const DocumentShape& shape) {
  const BenchDocument doc = MakeBenchDocument(shape);
  BareInflate bare(doc);
  RoundTimer timer;
  AddPipelineTasks(timer, bare, doc);
  std::ostringstream line;
  line << Describe(shape) << '\t' << doc.bodySize << '\t' << doc.file.size();
  if (!timer.Run()) return line.str() + "\trefused\n";
  for (std::size_t i = 0; i < 4; ++i) line << '\t' << timer.Median(i);
  line << '\t' << timer.Rounds() << '\n';
  return line.str();
}

// A 32-bit process may not hold the largest documents beside their
// floors' buffers: that row says so and the others are still measured.
std::string Measure(const DocumentShape& shape) {
  try {
    return MeasureDocument(shape);
  } catch (const std::bad_alloc&) {
    return Describe(shape) + "\t0\t0\tout of memory\n";
  }
}

}  // namespace
}  // namespace pelo::bench

int main(int argc, char** argv) {
  using namespace pelo::bench;
  std::string output;
  std::vector<int> sizes = {64, 256, 1024, 4096};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--output") output = argv[i + 1];
    if (option == "--sizes") {
      sizes.clear();
      std::stringstream in(argv[i + 1]);
      for (std::string item; std::getline(in, item, ',');) sizes.push_back(std::atoi(item.c_str()));
    }
  }
  if (!BareInflate::HaveLibdeflate()) std::cerr << "built without libdeflate" << std::endl;
  std::ostringstream text;
  text << "#\t" << (sizeof(void*) * 8) << "-bit\t" << pelo::ActivePixelKernels().name << '\n';
  std::cout << text.str() << std::flush;
  for (int size : sizes)
    for (int layers : {1, 8})
      for (int depth : {8, 24}) {
        const DocumentShape shape{Format::kCurrent, size, layers, depth};
        std::cerr << "measuring " << Describe(shape) << std::endl;
        const std::string row = Measure(shape);
        std::cout << row << std::flush;
        text << row;
      }
  if (!output.empty()) std::ofstream(output, std::ios::binary) << text.str();
  return 0;
}
