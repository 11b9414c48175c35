#include "private_desktop.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "program_run.h"

namespace pelo::desktop::test {

namespace fs = std::filesystem;

namespace {

void Require(const RunResult& result, const std::string& what) {
  if (result.status != 0) throw std::runtime_error(what + " failed: " + result.err);
}

}  // namespace

PrivateDesktop::PrivateDesktop() {
  const fs::path& root = folder_.path();
  const fs::path data = root / "data";
  fs::create_directories(data / "mime" / "packages");
  fs::create_directories(root / "home");
  fs::copy_file(PELO_MIME_PACKAGE, data / "mime" / "packages" / "pelo.xml");
  Require(RunProgram(root, {"update-mime-database", (data / "mime").string()}),
          "update-mime-database");

  const RunResult loaders = RunProgram(root, {PELO_QUERY_LOADERS, PELO_PIXBUF_LOADER});
  Require(loaders, "gdk-pixbuf-query-loaders");
  const fs::path cache = root / "loaders.cache";
  std::ofstream(cache) << loaders.out;

  ::setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);
  ::setenv("XDG_DATA_DIRS", data.c_str(), 1);
  ::setenv("GDK_PIXBUF_MODULE_FILE", cache.c_str(), 1);
  const char* path = std::getenv("PATH");
  ::setenv("PATH",
           (std::string(PELCONV_DIR) + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(),
           1);
}

}  // namespace pelo::desktop::test
