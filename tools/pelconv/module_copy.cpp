#include "module_copy.h"

#include <fstream>
#include <random>
#include <system_error>

namespace pelo::tools {

namespace fs = std::filesystem;

ModuleCopy::~ModuleCopy() {
  if (folder_.empty()) return;
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

bool ModuleCopy::MakeFolder() {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) {
    error_ = "no temporary folder: " + ec.message();
    return false;
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / ("pelconv-" + std::to_string(random()));
    if (fs::create_directory(candidate, ec)) {
      folder_ = candidate;
      return true;
    }
    if (ec) break;
  }
  error_ = "cannot create a temporary folder in " + base.string() +
           (ec ? ": " + ec.message() : std::string());
  return false;
}

bool ModuleCopy::Make(const std::string& modulePath, int layerBond) {
  if (!MakeFolder()) return false;
  const fs::path source(modulePath);
  copy_ = folder_ / source.filename();
  std::error_code ec;
  if (!fs::copy_file(source, copy_, ec)) {
    error_ = "cannot copy " + modulePath + ": " + ec.message();
    return false;
  }
  fs::path settings = copy_;
  settings.replace_extension(".ini");
  std::ofstream out(settings, std::ios::binary);
  out << "[Config]\r\nLayerBond=" << layerBond << "\r\n";
  if (!out.flush()) {
    error_ = "cannot write " + settings.string();
    return false;
  }
  return true;
}

}  // namespace pelo::tools
