#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelo::tools {

namespace {

std::string TemporaryPathBeside(const std::string& path) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  return path + suffix;
}

// Replaces target by source in one step; on Windows rename refuses an
// existing target.
bool ReplaceFile(const std::string& source, const std::string& target) {
#ifdef _WIN32
  if (::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  errno = EACCES;  // the system's own error is no errno
  return false;
#else
  return std::rename(source.c_str(), target.c_str()) == 0;
#endif
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
  if (!ReplaceFile(temporary.path(), path_)) return Fail("cannot replace", errno);
  temporary.Keep();
  return true;
}

}  // namespace pelo::tools
