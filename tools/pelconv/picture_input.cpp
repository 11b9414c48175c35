#include "picture_input.h"

#include <cstdio>
#include <filesystem>

#include "platform/mem_file.h"

namespace pelo::tools {

bool PictureInput::Prepare() {
  if (!IsStandardInput()) {
    std::error_code ec;
    if (std::filesystem::is_directory(argument_, ec)) {
      error_ = "is a folder, not a file";
      return false;
    }
    return true;
  }
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
    bytes_.insert(bytes_.end(), buffer, buffer + n);
  if (std::ferror(stdin)) {
    error_ = "cannot read standard input";
    return false;
  }
  return true;
}

const char* PictureInput::Source() const {
  if (!IsStandardInput()) return argument_.c_str();
  // A memory source must point somewhere even when nothing was read.
  static const char kEmpty[1] = {};
  return bytes_.empty() ? kEmpty : reinterpret_cast<const char*>(bytes_.data());
}

intptr_t PictureInput::PositionOrSize() const {
  return IsStandardInput() ? static_cast<intptr_t>(bytes_.size()) : 0;
}

unsigned int PictureInput::Flag() const {
  return IsStandardInput() ? 1u : 0u;
}

std::unique_ptr<CFile> PictureInput::OpenFile() const {
  if (IsStandardInput()) return std::make_unique<CMemFile>(bytes_.data(), bytes_.size());
  auto file = std::make_unique<CFile>();
  if (!file->Open(argument_.c_str())) return nullptr;
  return file;
}

}  // namespace pelo::tools
