#include "legacy/run_length_block.h"

#include <gtest/gtest.h>

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

// Expands into a destination pre-filled with '.', so bytes that no write
// reaches are visible.
std::string Expand(const std::vector<LegacyRun>& runs, const std::string& literals,
                   std::uint32_t expandedSize, std::size_t destSize) {
  const Bytes stored = StoredBlock(runs, Bytes(literals.begin(), literals.end()));
  CMemFile file(stored.data(), stored.size());
  CBinaryReader reader(&file);
  CRunLengthBlock block;
  block.Read(reader, expandedSize);
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
