// Every kept fuzz input, the seeds and each finding's regression file, run
// once more through its target on every build: natively, under the
// sanitizers and as 32-bit Windows code. A target aborts on what it checks,
// and the sanitizers report what they see.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/fuzz_targets.h"

namespace pelo {
namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;
  void (*run)(const std::uint8_t*, std::size_t);
};

// The kept inputs live beside the sources, found from this file's own path.
fs::path FuzzDirectory() {
  std::string here = __FILE__;
#ifdef _WIN32
  if (!here.empty() && here[0] == '/') here = "Z:" + here;  // wine's view of the build machine
#endif
  return fs::path(here).parent_path().parent_path().parent_path() / "fuzz";
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzRegressions : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzRegressions, EveryKeptInputRunsClean) {
  const Target& target = GetParam();
  const fs::path corpus = FuzzDirectory() / "corpus" / target.name;
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;  // else nothing below would run
  for (const fs::path& dir : {corpus, FuzzDirectory() / "regressions" / target.name}) {
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      SCOPED_TRACE(entry.path().string());
      const std::vector<std::uint8_t> bytes = ReadAll(entry.path());
      target.run(bytes.data(), bytes.size());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions,
                         ::testing::Values(Target{"picture", test::FuzzPicture},
                                           Target{"record_body", test::FuzzRecordBody},
                                           Target{"run_length", test::FuzzRunLength}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelo
