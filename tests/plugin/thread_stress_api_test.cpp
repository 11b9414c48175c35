// Eight threads decode a mix of sound, broken and hostile files at once
// through the exports; every answer must be the one a single thread gets.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "plugin/api_host.h"
#include "support/document_writer.h"
#include "support/hostile_files.h"

namespace pelo {
namespace {

using test::Bytes;

constexpr int kThreads = 8;
constexpr int kCallsPerThread = 200;  // each call is GetPictureInfo and GetPicture

struct Source {
  std::string what;
  Bytes bytes;
  std::string path;  // a disk file when set, else the bytes in memory
};

struct Answer {
  int infoResult = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int pictureResult = 0;
  test::Dib dib;

  bool operator==(const Answer& o) const {
    return infoResult == o.infoResult && width == o.width && height == o.height &&
           pictureResult == o.pictureResult && dib.header == o.dib.header &&
           dib.pixels == o.dib.pixels;
  }
};

test::DocumentDesc Document(std::uint8_t depth) {
  test::DocumentDesc d;
  d.depth = depth;
  d.colorCount = 4;
  d.palettes = {{"p", {0, 0, 0, 9, 8, 7, 1, 2, 3, 200, 100, 50}, {}}};
  const std::size_t bytes = depth == 24 ? 3 : 1;
  test::PageDesc page{"page", 5, 3, {}, 0, {}};
  Bytes top(15 * bytes, 0);
  for (std::size_t i = 0; i < top.size(); i += 2) top[i] = static_cast<std::uint8_t>(i % 4);
  page.layers.push_back({"top", 1, top, {}, {}});
  page.layers.push_back({"hidden", 0, Bytes(15 * bytes, 2), {}, {}});
  page.layers.push_back({"bottom", 1, Bytes(15 * bytes, 3), {}, {}});
  d.pages = {page};
  return d;
}

Bytes Legacy() {
  test::LegacyFileDesc f;
  f.width = 6;
  f.height = 4;
  f.paletteRgb = {0, 0, 0, 10, 20, 30, 40, 50, 60};
  f.layers.push_back(test::EncodeLegacyLayer("a", 1, Bytes(24, 1), 4));
  f.layers.push_back(test::EncodeLegacyLayer("b", 0, Bytes(24, 2), 4));
  return test::WriteLegacyFile(f);
}

std::vector<Source> Sources() {
  const Bytes indexed = test::WriteDocumentFile(Document(8));
  std::vector<Source> sources = {
      {"8-bit", indexed, ""},
      {"24-bit", test::WriteDocumentFile(Document(24)), ""},
      {"legacy", Legacy(), ""},
      {"cut", Bytes(indexed.begin(), indexed.end() - 8), ""},
      {"not a picture", Bytes(64, 'x'), ""},
      {"8-bit on disk", indexed, test::TempPath("stress-indexed.pel")},
      {"legacy on disk", Legacy(), test::TempPath("stress-legacy.pel")},
  };
  // The small hostile files with small pictures; the others fill tens or
  // hundreds of megabytes, which would only slow the threads down.
  for (test::HostileFile& f : test::HostileFiles())
    if (f.bytes.size() < 1000 && !f.large) sources.push_back({f.what, std::move(f.bytes), ""});
  for (const Source& s : sources)
    if (!s.path.empty()) test::WriteFile(s.path, s.bytes);
  return sources;
}

Answer Decode(const Source& s) {
  Answer a;
  PictureInfo info{};
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  if (s.path.empty()) {
    a.infoResult = test::GetInfoFromMemory(s.bytes, &info);
    a.pictureResult = test::GetPictureFromMemory(s.bytes, &a.dib);
  } else {
    a.infoResult = GetPictureInfo(s.path.c_str(), 0, 0, &info);
    a.pictureResult = GetPicture(s.path.c_str(), 0, 0, &header, &pixels, nullptr, 0);
    if (a.pictureResult == 0) {
      a.dib.header = test::TakeModuleBlock(header);
      a.dib.pixels = test::TakeModuleBlock(pixels);
    }
  }
  a.width = info.width;
  a.height = info.height;
  return a;
}

// Mismatches of kThreads threads decoding sources in turns that differ by
// thread, against what one thread got first.
int ConcurrentMismatches(const std::vector<Source>& sources) {
  std::vector<Answer> expected;
  for (const Source& s : sources) expected.push_back(Decode(s));
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCallsPerThread; ++i) {
        const std::size_t k =
            (static_cast<std::size_t>(t) * 5 + static_cast<std::size_t>(i) * 3) % sources.size();
        if (!(Decode(sources[k]) == expected[k])) ++mismatches;
      }
    });
  }
  for (std::thread& th : threads) th.join();
  return mismatches.load();
}

TEST(ThreadStress, EightThreadsGetTheSingleThreadedAnswers) {
  const std::vector<Source> sources = Sources();
  for (const char* layerBond : {"0", "1"}) {
    SCOPED_TRACE(layerBond);
    test::SetLayerBond(layerBond);
    EXPECT_EQ(ConcurrentMismatches(sources), 0);
  }
  test::RemoveSettings();
  for (const Source& s : sources)
    if (!s.path.empty()) std::remove(s.path.c_str());
}

}  // namespace
}  // namespace pelo
