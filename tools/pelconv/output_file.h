// Writes a file so that the path holds either its old contents or the whole
// new contents, never a part: the bytes go to a temporary file in the same
// folder, which is then renamed over the path. The temporary file is
// removed on every failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelo::tools {

class OutputFile {
 public:
  explicit OutputFile(std::string path) : path_(std::move(path)) {}

  // False with a reason in error(); the path is then as it was before.
  bool Write(const std::vector<std::uint8_t>& bytes);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what, int errorNumber);

  std::string path_;
  std::string error_;
};

}  // namespace pelo::tools
