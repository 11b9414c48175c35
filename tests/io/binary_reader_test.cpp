#include "io/binary_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exception.h"
#include "platform/mem_file.h"

namespace pelo {
namespace {

struct ReaderOver {
  explicit ReaderOver(std::vector<std::uint8_t> b)
      : bytes(std::move(b)), file(bytes.data(), bytes.size()), reader(&file) {}
  std::vector<std::uint8_t> bytes;
  CMemFile file;
  CBinaryReader reader;
};

TEST(BinaryReader, ReadsLittleEndianValues) {
  ReaderOver r({0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB, 0x01, 0, 0, 0, 0x07});
  EXPECT_EQ(r.reader.ReadWord(), 0x1234);
  EXPECT_EQ(r.reader.ReadDword(), 0x12345678u);
  EXPECT_EQ(r.reader.ReadByte(), 0xAB);
  const CValueRecord record = r.reader.ReadValueRecord();
  EXPECT_EQ(record.value, 1u);
  EXPECT_EQ(record.flag, 7);
  EXPECT_EQ(record.extra, 0u);
}

TEST(BinaryReader, ReadRectGivesFourValuesInFileOrder) {
  ReaderOver r({1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0});
  const auto rect = r.reader.ReadRect();
  EXPECT_EQ(rect[0], 1u);
  EXPECT_EQ(rect[1], 2u);
  EXPECT_EQ(static_cast<std::int32_t>(rect[2]), -1);
  EXPECT_EQ(rect[3], 4u);
}

TEST(BinaryReader, ShortReadWithoutMustFillIsOrdinary) {
  ReaderOver r({9});
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(r.reader.ReadBytes(buffer, 4, false), 1);
  EXPECT_EQ(buffer[0], 9);
  EXPECT_EQ(r.reader.ReadBytes(buffer, 4, false), 0);
}

TEST(BinaryReader, ShortReadWithMustFillRaisesAfterConsumingWhatArrived) {
  ReaderOver r({0x42});
  EXPECT_THROW(r.reader.ReadWord(), CFileException);
  EXPECT_EQ(r.file.GetPosition(), 1u);
  // The reader stays usable after the failure.
  r.file.Seek(0);
  EXPECT_EQ(r.reader.ReadByte(), 0x42);
}

TEST(BinaryReader, ReadStringCountsLengthModulo65536) {
  ReaderOver r({'a', 'b', 'c', 0, 'd', 'x', 'y', 'z'});
  EXPECT_EQ(r.reader.ReadString(0), "");
  EXPECT_EQ(r.reader.ReadString(65536), "");
  EXPECT_EQ(r.file.GetPosition(), 0u);
  EXPECT_EQ(r.reader.ReadString(65536 + 3), "abc");
  const CString withZero = r.reader.ReadString(2);
  ASSERT_EQ(withZero.size(), 2u);
  EXPECT_EQ(withZero[0], '\0');
  EXPECT_EQ(withZero[1], 'd');
  EXPECT_THROW(r.reader.ReadString(4), CFileException);
}

}  // namespace
}  // namespace pelo
