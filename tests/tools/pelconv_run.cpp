#include "pelconv_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pelo::tools::test {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RunResult RunPelconv(const fs::path& folder, const std::vector<std::string>& args,
                     const std::string& stdinPath) {
  const fs::path out = folder / ".stdout";
  const fs::path err = folder / ".stderr";
  std::string command = "cd " + Quoted(folder.string()) + " && " + Quoted(PELCONV_PATH);
  for (const auto& arg : args) command += " " + Quoted(arg);
  command += " < " + Quoted(stdinPath.empty() ? "/dev/null" : stdinPath);
  command += " > " + Quoted(out.string()) + " 2> " + Quoted(err.string());
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadText(out);
  result.err = ReadText(err);
  fs::remove(out);
  fs::remove(err);
  return result;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "pelconv-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

}  // namespace pelo::tools::test
