// Runs a program as a desktop does: an argument vector handed over as it
// is, with no shell between, in a folder of its own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pelconv_run.h"

namespace pelo::desktop::test {

using tools::test::RunResult;

// argv[0] is looked up in PATH.
RunResult RunProgram(const std::filesystem::path& folder, const std::vector<std::string>& argv);

}  // namespace pelo::desktop::test
