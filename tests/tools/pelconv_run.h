// Runs the pelconv executable as a user does, in a folder of its own, and
// keeps its exit status, standard output and standard error.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pelo::tools::test {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// args are passed as they are (quoted for the shell); stdinPath, when not
// empty, is fed to standard input.
RunResult RunPelconv(const std::filesystem::path& folder, const std::vector<std::string>& args,
                     const std::string& stdinPath = {});

std::string ReadText(const std::filesystem::path& path);
// The names in a folder, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace pelo::tools::test
