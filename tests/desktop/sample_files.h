// The files every desktop test reads: the bundled samples, the picture that
// pelconv makes of each (what every viewer must show), and broken files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rgb_picture.h"

namespace pelo::desktop::test {

std::vector<std::string> SampleNames();
std::filesystem::path SamplePath(const std::string& name);

// pelconv's PNG of a .pel file, written into folder and read back.
RgbPicture PelconvPicture(const std::filesystem::path& pel, const std::filesystem::path& folder);

struct BrokenFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
  std::string reason;  // part of the module's message
};

std::vector<BrokenFile> BrokenFiles();
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace pelo::desktop::test
