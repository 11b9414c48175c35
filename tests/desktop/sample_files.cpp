#include "sample_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "program_run.h"

namespace pelo::desktop::test {

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> FirstHalfOf(const std::string& sample) {
  std::ifstream in(SamplePath(sample), std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  bytes.resize(bytes.size() / 2);
  return bytes;
}

}  // namespace

std::vector<std::string> SampleNames() {
  return {"sprite", "mushroom-bank", "landscape-24bit", "cottage-legacy"};
}

fs::path SamplePath(const std::string& name) {
  return fs::path(PELO_SAMPLES_DIR) / (name + ".pel");
}

RgbPicture PelconvPicture(const fs::path& pel, const fs::path& folder) {
  const RunResult run = RunProgram(folder, {PELCONV_PATH, "-q", "-o", "reference", pel.string()});
  if (run.status != 0) throw std::runtime_error("pelconv failed: " + run.err);
  return ReadPngAsRgb((folder / "reference" / pel.filename().replace_extension(".png")).string());
}

std::vector<BrokenFile> BrokenFiles() {
  const std::string pelo = "PELO, but only in words";
  const std::string text = "just some text";
  return {
      {"text.pel", std::vector<std::uint8_t>(pelo.begin(), pelo.end()), "(plug-in result 3)"},
      {"not-pelo.pel", std::vector<std::uint8_t>(text.begin(), text.end()), "(plug-in result 8)"},
      {"empty.pel", {}, "(plug-in result 8)"},
      // The loader's own words, from code page 932 into UTF-8.
      {"truncated.pel", FirstHalfOf("sprite"), "rejected: \u5727\u7e2e\u30c7\u30fc\u30bf"},
      {"truncated-legacy.pel", FirstHalfOf("cottage-legacy"), "(plug-in result 8)"},
  };
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace pelo::desktop::test
