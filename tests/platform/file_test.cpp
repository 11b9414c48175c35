#include "platform/file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/exception.h"
#include "platform/mem_file.h"

namespace pelo {
namespace {

TEST(MemFile, ReadsSeeksAndNeverGrows) {
  const char data[] = {'a', 'b', 'c'};
  CMemFile file(data, sizeof data);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 2), 2u);
  EXPECT_EQ(file.GetPosition(), 2u);
  EXPECT_EQ(file.Read(buffer, 8), 1u);
  EXPECT_EQ(buffer[0], 'c');
  file.Seek(100);  // beyond the end is allowed; reading there gives nothing
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  EXPECT_THROW(file.Seek(0x80000000u), CFileException);
}

TEST(DiskFile, OpensReadsAndReportsOpenFailure) {
  const auto path = std::filesystem::temp_directory_path() / "pelo-file-test.bin";
  std::ofstream(path, std::ios::binary) << "xyzPELO2";
  CFile file;
  ASSERT_TRUE(file.Open(path.string().c_str()));
  file.Seek(3);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 8), 5u);
  EXPECT_EQ(std::string(buffer, 5), "PELO2");
  EXPECT_EQ(file.GetPosition(), 8u);
  EXPECT_THROW(file.Seek(0xFFFFFFFFu), CFileException);
  file.Close();  // an open file cannot be removed on Windows
  std::filesystem::remove(path);

  CFile missing;
  EXPECT_FALSE(missing.Open((path.string() + ".missing").c_str()));
}

TEST(Exception, MessageIsCutToTheBuffer) {
  const CFileException e = CFileException::EndOfFile();
  char buffer[5];
  ASSERT_TRUE(e.GetErrorMessage(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), e.Message().substr(0, 4));
  EXPECT_FALSE(e.GetErrorMessage(buffer, 0));
}

}  // namespace
}  // namespace pelo
