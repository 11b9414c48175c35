// Runs a program as a desktop does: an argument vector handed over as it
// is, with no shell between, in a folder of its own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pelo::desktop::test {

struct ProgramResult {
  int status = -1;
  std::string out;
  std::string err;
};

// argv[0] is looked up in PATH.
ProgramResult RunProgram(const std::filesystem::path& folder, const std::vector<std::string>& argv);

}  // namespace pelo::desktop::test
