#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "system_paths.h"

namespace pelo::tools {

namespace {

std::string TemporaryPathBeside(const std::string& path) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  return path + suffix;
}

class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!kept_) std::remove(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // "x": never opens a file that someone else made meanwhile.
  bool Create() { return (file_ = std::fopen(path_.c_str(), "wbx")) != nullptr; }
  bool Write(const std::vector<std::uint8_t>& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  }
  bool Close() {
    const int rc = std::fclose(file_);
    file_ = nullptr;
    return rc == 0;
  }
  void Keep() { kept_ = true; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  bool kept_ = false;
};

}  // namespace

bool OutputFile::Fail(const std::string& what, int errorNumber) {
  error_ = what + " " + path_ + ": " + std::strerror(errorNumber);
  return false;
}

bool OutputFile::Write(const std::vector<std::uint8_t>& bytes) {
  TemporaryFile temporary(TemporaryPathBeside(path_));
  if (!temporary.Create()) return Fail("cannot create", errno);
  if (!temporary.Write(bytes)) return Fail("cannot write", errno);
  if (!temporary.Close()) return Fail("cannot write", errno);
  if (!MoveFileOver(temporary.path(), path_)) return Fail("cannot replace", errno);
  temporary.Keep();
  return true;
}

}  // namespace pelo::tools
