// One file the user named: a path, handed to the plug-in as a file source,
// or standard input ("-"), read into memory and handed over as a memory
// source, the two kinds of source a host uses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file.h"
#include "plugin/spi_api.h"

namespace pelo::tools {

class PictureInput {
 public:
  explicit PictureInput(std::string argument)
      : argument_(std::move(argument)),
        standardInput_(argument_.size() == 1 && argument_[0] == '-') {}

  bool IsStandardInput() const { return standardInput_; }
  // How messages name the input.
  std::string Name() const { return IsStandardInput() ? "standard input" : argument_; }
  const std::string& path() const { return argument_; }

  // Reads standard input into memory; a path needs nothing. False with a
  // reason in error().
  bool Prepare();
  const std::string& error() const { return error_; }

  // The three source arguments of GetPictureInfo and GetPicture.
  const char* Source() const;
  intptr_t PositionOrSize() const;
  unsigned int Flag() const;

  // A file object over the same bytes for reading them in this process;
  // null when the file cannot be opened.
  std::unique_ptr<CFile> OpenFile() const;

 private:
  std::string argument_;
  bool standardInput_;
  std::vector<std::uint8_t> bytes_;
  std::string error_;
};

}  // namespace pelo::tools
