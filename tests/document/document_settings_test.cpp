// The small record bodies of the document: order table, colour settings and
// options.
#include <gtest/gtest.h>

#include <array>

#include "document/color_setting.h"
#include "document/document_options.h"
#include "document/order_table.h"
#include "platform/exception.h"
#include "support/body_reader.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::Bytes;
using test::LoadBody;
using test::RecordWriter;
using test::WalkBody;

TEST(OrderTable, StartsReversed) {
  COrderTable table;
  EXPECT_EQ(table.order, (std::array<std::uint8_t, 4>{3, 2, 1, 0}));
}

TEST(OrderTable, ABodyWithOnlyRecord1002) {
  COrderTable table;
  const Bytes body = RecordWriter().Byte(1002, 7).bytes();
  const std::uint64_t end = LoadBody(
      body, [&](CBinaryReader& reader, std::uint32_t length) { table.Load(reader, length); });
  EXPECT_EQ(table.order, (std::array<std::uint8_t, 4>{3, 2, 7, 0}));
  EXPECT_EQ(end, body.size());
}

TEST(OrderTable, EveryTagAndUnknownOnes) {
  COrderTable table;
  RecordWriter body;
  body.Byte(1003, 9).Byte(999, 1).Byte(1004, 1).Byte(1000, 5).Data(1001, {6, 0xFF}).Dword(5, 5);
  WalkBody(body.bytes(), OrderTableRecordHandler, &table);
  EXPECT_EQ(table.order, (std::array<std::uint8_t, 4>{5, 6, 1, 9}));
}

TEST(ColorSetting, EveryTag) {
  CColorSetting setting;
  RecordWriter body;
  body.Byte(1000, 17)
      .Data(1001, {0x10, 0x20, 0x30})
      .Byte(1002, 128)
      .Data(1003, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06})
      .Byte(1004, 3)
      .Data(1005, {1, 2, 3});
  WalkBody(body.bytes(), ColorSettingRecordHandler, &setting);
  EXPECT_EQ(setting.index, 17);
  EXPECT_EQ(setting.color, (std::array<std::uint8_t, 3>{0x10, 0x20, 0x30}));
  EXPECT_EQ(setting.level, 128);
  EXPECT_EQ(setting.components, (std::array<std::uint16_t, 3>{0x0201, 0x0403, 0x0605}));
  EXPECT_EQ(setting.mode, 3);
}

TEST(ColorSetting, AFiveByteColorRecordSetsThreeAndSkipsTwo) {
  CColorSetting setting;
  RecordWriter body;
  body.Data(1001, {1, 2, 3, 4, 5}).Byte(1004, 9);
  WalkBody(body.bytes(), ColorSettingRecordHandler, &setting);
  EXPECT_EQ(setting.color, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(setting.mode, 9);
}

TEST(ColorSetting, AShortRecordStillReadsItsFixedCount) {
  // Tag 1001 reads three bytes whatever its length: with a one-byte payload
  // the other two come from the next record's header, and the walker then
  // puts the file back at that header.
  CColorSetting setting;
  RecordWriter body;
  body.Data(1001, {7}).Byte(1000, 4);
  WalkBody(body.bytes(), ColorSettingRecordHandler, &setting);
  EXPECT_EQ(setting.color, (std::array<std::uint8_t, 3>{7, 1000 & 0xFF, 1000 >> 8}));
  EXPECT_EQ(setting.index, 4);
}

TEST(ColorSetting, ARecordAtTheEndOfTheDataRaises) {
  CColorSetting setting;
  RecordWriter body;
  body.Data(1003, {1, 2});
  EXPECT_THROW(WalkBody(body.bytes(), ColorSettingRecordHandler, &setting), CFileException);
}

TEST(DocumentOptions, StartAndLoad) {
  CDocumentOptions options;
  EXPECT_EQ(options.flagA, 1);
  EXPECT_EQ(options.flagB, 0);
  WalkBody(RecordWriter().Byte(1001, 5).Byte(1002, 9).Byte(1000, 0).bytes(),
           DocumentOptionsRecordHandler, &options);
  EXPECT_EQ(options.flagA, 0);
  EXPECT_EQ(options.flagB, 5);
}

}  // namespace
}  // namespace pelo
