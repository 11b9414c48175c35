// The host test program: GoogleTest's own options, plus --screenshot=PATH
// for where the dialog test leaves a picture of the dialog.
#include <gtest/gtest.h>

#include <string>

namespace pelo::wine {
std::string& ScreenshotPath();
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string option = "--screenshot=";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind(option, 0) == 0) pelo::wine::ScreenshotPath() = arg.substr(option.size());
  }
  return RUN_ALL_TESTS();
}
