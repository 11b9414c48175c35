#include "io/record_stream.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exception.h"
#include "platform/mem_file.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::RecordWriter;

struct Seen {
  std::uint16_t tag;
  std::uint32_t length;
  std::uint64_t position;
};

struct Walk {
  std::vector<Seen> seen;
  int readBytes = 0;  // how much each handler reads of its payload
};

void Record(CBinaryReader& reader, std::uint16_t tag, std::uint32_t length, void* context) {
  auto* walk = static_cast<Walk*>(context);
  walk->seen.push_back({tag, length, reader.GetFile()->GetPosition()});
  std::uint8_t sink[64];
  reader.ReadBytes(sink, walk->readBytes, false);
}

Walk WalkOver(const Bytes& bytes, std::uint32_t length, int readBytes, std::uint64_t* endPosition) {
  CMemFile file(bytes.data(), bytes.size());
  CBinaryReader reader(&file);
  Walk walk;
  walk.readBytes = readBytes;
  ReadRecords(reader, length, Record, &walk);
  *endPosition = file.GetPosition();
  return walk;
}

TEST(RecordStream, EmptyRegionCallsNothing) {
  std::uint64_t end = 99;
  const Walk walk = WalkOver(RecordWriter().Byte(1, 2).bytes(), 0, 0, &end);
  EXPECT_TRUE(walk.seen.empty());
  EXPECT_EQ(end, 0u);
}

TEST(RecordStream, HandlersSeeTheirOwnPayloadWhateverTheOthersRead) {
  RecordWriter w;
  w.Data(7, {}).Dword(1000, 5).Data(9999, Bytes(3, 0)).Byte(2, 1);
  for (int readBytes : {0, 2, 10}) {
    SCOPED_TRACE(readBytes);
    std::uint64_t end = 0;
    const Walk walk =
        WalkOver(w.bytes(), static_cast<std::uint32_t>(w.bytes().size()), readBytes, &end);
    ASSERT_EQ(walk.seen.size(), 4u);
    EXPECT_EQ(walk.seen[0].tag, 7);
    EXPECT_EQ(walk.seen[0].length, 0u);
    EXPECT_EQ(walk.seen[1].position, 12u);  // 6 bytes later than the empty record
    EXPECT_EQ(walk.seen[2].tag, 9999);
    EXPECT_EQ(walk.seen[3].position, w.bytes().size() - 1);
    EXPECT_EQ(end, w.bytes().size());
  }
}

TEST(RecordStream, PayloadReachingPastTheRegionEndsTheWalkAtTheRegionEnd) {
  RecordWriter w;
  w.Byte(1, 0).Header(2, 100).Raw(Bytes(120, 0));
  std::uint64_t end = 0;
  const Walk walk = WalkOver(w.bytes(), 7 + 6 + 4, 50, &end);
  ASSERT_EQ(walk.seen.size(), 2u);
  EXPECT_EQ(walk.seen[1].length, 100u);
  EXPECT_EQ(end, 17u);
}

TEST(RecordStream, HeaderCutOffRaises) {
  const Bytes bytes = RecordWriter().Byte(1, 0).Raw({0x02, 0x00, 0x01}).bytes();
  std::uint64_t end = 0;
  EXPECT_THROW(WalkOver(bytes, static_cast<std::uint32_t>(bytes.size()), 0, &end), CFileException);
}

// A record or a region that would end past 2^32 is refused before any
// handler sees it, rather than once a handler has read into it.
TEST(RecordStream, RecordsAndRegionsEndingPast32BitsAreRefusedUnread) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::uint64_t start;
    std::uint32_t length;
  };
  const Bytes record = RecordWriter().Header(1, 0xFFFFFFFAu).Raw(Bytes(8, 0)).bytes();
  Bytes region{0};
  const Bytes sound = RecordWriter().Byte(1, 0).bytes();
  region.insert(region.end(), sound.begin(), sound.end());
  const Case cases[] = {
      {"a record's length", record, 0, static_cast<std::uint32_t>(record.size())},
      {"a region's length", region, 1, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CMemFile file(c.bytes.data(), c.bytes.size());
    file.Seek(c.start);
    CBinaryReader reader(&file);
    Walk walk;
    EXPECT_THROW(ReadRecords(reader, c.length, Record, &walk), CFileException);
    EXPECT_TRUE(walk.seen.empty());
  }
}

}  // namespace
}  // namespace pelo
