#include "platform/profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pelo {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("pelo-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "module.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Read() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(ProfileTest, ReadFollowsTheProfileRules) {
  struct Case {
    const char* file;
    int expected;
  };
  const Case cases[] = {
      {"[Config]\r\nLayerBond=1\r\n", 1},
      {"[config]\nlayerbond = 2 \n", 2},  // names ignore case, blanks trimmed
      {"[Config]\r\nLayerBond=-1\r\n", -1},
      {"[Config]\r\nLayerBond=abc\r\n", 0},     // not a number: 0, not the default
      {"[Config]\r\nLayerBond=12abc\r\n", 12},  // the leading number counts
      {"[Other]\r\nLayerBond=5\r\n", 77},       // wrong section: the default
      {"[Config]\r\nOther=5\r\n", 77},
      {"[Config]\r\nLayerBond=3", 3},  // no line end after the last line
      {"\n\n[Config]\n\nLayerBond=4\n\n", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Write(c.file);
    EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), c.expected);
  }
  std::filesystem::remove(path_);
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 77);
}

// A file long unchanged may be read once for many calls; every change after
// that, even one that keeps its size or sets its time back, counts on the
// next read.
TEST_F(ProfileTest, AChangedFileIsReadAgain) {
  Write("[Config]\r\nLayerBond=1\r\n");
  const auto old = std::filesystem::last_write_time(path_) - std::chrono::hours(1);
  std::filesystem::last_write_time(path_, old);
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 1);
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 1);
  EXPECT_EQ(ReadProfileInt("Config", "Other", 77, path_), 77);
  Write("[Config]\r\nLayerBond=0\r\n");
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 0);
  Write("[Config]\r\nLayerBond=2\r\n");
  std::filesystem::last_write_time(path_, old - std::chrono::hours(1));
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 2);
  std::filesystem::remove(path_);
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 77, path_), 77);
}

TEST_F(ProfileTest, WriteCreatesReplacesAndKeepsOtherEntries) {
  ASSERT_TRUE(WriteProfileString("Config", "LayerBond", "0", path_));
  EXPECT_EQ(Read(), "[Config]\r\nLayerBond=0\r\n");
  Write("[Other]\r\nA=1\r\n[Config]\r\nLayerBond=5\r\nB=2\r\n");
  ASSERT_TRUE(WriteProfileString("Config", "LayerBond", "-1", path_));
  EXPECT_EQ(Read(), "[Other]\r\nA=1\r\n[Config]\r\nLayerBond=-1\r\nB=2\r\n");
  Write("[Config]\r\nB=2\r\n\r\n[Other]\r\nA=1\r\n");
  ASSERT_TRUE(WriteProfileString("Config", "LayerBond", "1", path_));
  EXPECT_EQ(ReadProfileInt("Config", "LayerBond", 9, path_), 1);
  EXPECT_EQ(ReadProfileInt("Other", "A", 9, path_), 1);
}

TEST_F(ProfileTest, WriteIntoAMissingFolderFails) {
  EXPECT_FALSE(WriteProfileString("Config", "LayerBond", "1", (dir_ / "no" / "x.ini").string()));
}

}  // namespace
}  // namespace pelo
