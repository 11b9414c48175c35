#include "legacy/run_length_block.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::LegacyRun;

Bytes StoredBlock(const std::vector<LegacyRun>& runs, const Bytes& literals) {
  Bytes out;
  test::PutLe32(out, static_cast<std::uint32_t>(runs.size()));
  for (const auto& run : runs) {
    test::PutLe32(out, run.position);
    test::PutLe32(out, run.length);
    out.push_back(run.value);
  }
  test::PutLe32(out, static_cast<std::uint32_t>(literals.size()));
  out.insert(out.end(), literals.begin(), literals.end());
  return out;
}

void ReadBlock(CRunLengthBlock& block, const std::vector<LegacyRun>& runs,
               const std::string& literals, std::uint32_t expandedSize) {
  const Bytes stored = StoredBlock(runs, Bytes(literals.begin(), literals.end()));
  CMemFile file(stored.data(), stored.size());
  CBinaryReader reader(&file);
  block.Read(reader, expandedSize);
}

// Expands into a destination pre-filled with '.', so bytes that no write
// reaches are visible.
std::string Expand(const std::vector<LegacyRun>& runs, const std::string& literals,
                   std::uint32_t expandedSize, std::size_t destSize) {
  CRunLengthBlock block;
  ReadBlock(block, runs, literals, expandedSize);
  std::string dest(destSize, '.');
  block.Expand(reinterpret_cast<std::uint8_t*>(dest.data()), dest.size());
  EXPECT_TRUE(block.runs().empty());
  EXPECT_TRUE(block.literals().empty());
  return dest;
}

struct ExpandCase {
  const char* what;
  std::vector<LegacyRun> runs;
  std::string literals;
  std::uint32_t expandedSize;
  std::string expected;
};

TEST(RunLengthBlock, ExpandsInOneForwardScan) {
  const std::vector<ExpandCase> cases = {
      {"literals only", {}, "ABCD", 4, "ABCD"},
      {"one run fills everything", {{0, 6, 'R'}}, "", 6, "RRRRRR"},
      {"runs at the same position keep their order",
       {{1, 2, 'X'}, {1, 1, 'Y'}},
       "ABC",
       6,
       "AXXYBC"},
      {"a run behind the scan is never expanded", {{2, 1, 'X'}, {1, 1, 'Y'}}, "ABC", 5, "ABXC."},
      {"a run after the last literal", {{3, 2, 'Z'}}, "ABC", 5, "ABCZZ"},
      {"a run beyond the literals is not reached", {{4, 2, 'Z'}}, "ABC", 5, "ABC.."},
      {"writes past the output are dropped", {{1, 10, 'X'}}, "AB", 4, "AXXX"},
      {"a short block leaves the rest as it was", {}, "AB", 5, "AB..."},
      {"a length of 2^32-1 is an unsigned count cut at the end",
       {{0, 0xFFFFFFFFu, 'Q'}},
       "A",
       3,
       "QQQ"},
      {"a run of length 0 writes nothing", {{0, 0, 'Q'}}, "AB", 2, "AB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Expand(c.runs, c.literals, c.expandedSize, c.expected.size()), c.expected);
  }
}

TEST(RunLengthBlock, NeverWritesPastTheDestination) {
  // The declared size says 8 but the destination holds 4.
  EXPECT_EQ(Expand({{0, 8, 'R'}}, "ABCD", 8, 4), "RRRR");
}

// A layer is held as one value exactly when its expansion into a zeroed
// buffer is that value throughout: bytes no write reaches stay 0.
TEST(RunLengthBlock, IsUniformExactlyWhenTheExpansionIsOneValue) {
  struct Case {
    const char* what;
    std::vector<LegacyRun> runs;
    std::string literals;
    std::uint32_t expandedSize;
    std::size_t destSize;
    bool uniform;
    std::uint8_t value;
  };
  const Case cases[] = {
      {"one run over everything", {{0, 6, 'R'}}, "", 6, 6, true, 'R'},
      {"one run past the end", {{0, 0xFFFFFFFFu, 'R'}}, "", 6, 6, true, 'R'},
      {"an empty block", {}, "", 6, 6, true, 0},
      {"a run of 0 over half", {{0, 3, 0}}, "", 6, 6, true, 0},
      {"a run of another value over half", {{0, 3, 'R'}}, "", 6, 6, false, 0},
      {"runs and literals of one value", {{1, 2, 'A'}, {3, 1, 'A'}}, "AAA", 6, 6, true, 'A'},
      {"one literal differs", {{0, 5, 'A'}}, "B", 6, 6, false, 0},
      {"a differing literal past the output", {{0, 6, 'A'}}, "B", 6, 6, true, 'A'},
      {"a differing run behind the scan", {{1, 3, 'A'}, {0, 3, 'B'}}, "AAA", 6, 6, true, 'A'},
      {"a destination shorter than the block", {{0, 4, 'A'}}, "BB", 6, 4, true, 'A'},
      {"a block shorter than the destination", {{0, 4, 'A'}}, "", 4, 6, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CRunLengthBlock block;
    ReadBlock(block, c.runs, c.literals, c.expandedSize);
    std::uint8_t value = 0xEE;
    EXPECT_EQ(block.IsUniform(c.destSize, &value), c.uniform);
    if (c.uniform) {
      EXPECT_EQ(value, c.value);
    }
    // The block is kept, and its expansion agrees.
    Bytes expanded(c.destSize, 0);
    block.Expand(expanded.data(), expanded.size());
    const bool oneValue = std::all_of(expanded.begin(), expanded.end(),
                                      [&](std::uint8_t b) { return b == expanded[0]; });
    EXPECT_EQ(oneValue, c.uniform);
  }
}

TEST(RunLengthBlock, TruncatedBlockRaisesWithoutAllocatingTheDeclaredSize) {
  for (const Bytes& stored : {
           Bytes{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'A'},  // second run missing
           Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'A'},  // 2 GiB of literals declared
       }) {
    CMemFile file(stored.data(), stored.size());
    CBinaryReader reader(&file);
    CRunLengthBlock block;
    EXPECT_THROW(block.Read(reader, 16), CFileException);
  }
}

}  // namespace
}  // namespace pelo
