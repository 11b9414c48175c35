#include "program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace pelo::desktop::test {

namespace fs = std::filesystem;

namespace {

std::string TakeText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  in.close();
  fs::remove(path);
  return text.str();
}

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

RunResult RunProgram(const fs::path& folder, const std::vector<std::string>& argv) {
  // Outside the folder, so that the program's own files are all it holds.
  const fs::path out = folder.string() + ".stdout";
  const fs::path err = folder.string() + ".stderr";
  SpawnActions actions;
  posix_spawn_file_actions_addchdir_np(actions.get(), folder.c_str());
  posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(actions.get(), 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0)
    throw std::runtime_error("cannot start " + argv[0]);
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = TakeText(out);
  result.err = TakeText(err);
  return result;
}

}  // namespace pelo::desktop::test
