// What the user asked for on the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelo::tools {

enum class LayerMode { visible, all };

// --thumbnail SIZE INPUT OUTPUT, as a file manager's thumbnailer calls it.
struct ThumbnailRequest {
  int side = 0;
  std::string input;
  std::string output;
};

class Options {
 public:
  // Parses argv[1..]. False with a message in error() for a command line
  // that cannot be carried out.
  bool Parse(int argc, const char* const* argv);
  const std::string& error() const { return error_; }

  std::vector<std::string> inputs;  // "-" is standard input
  std::string outputFolder;         // empty: beside each input
  std::optional<LayerMode> layers;  // unset: the module's own setting
  std::string pluginPath;           // empty: the module beside the executable
  std::optional<ThumbnailRequest> thumbnail;
  bool info = false;
  bool split = false;  // every entry of the archive view, one folder per input
  bool quiet = false;
  bool help = false;
  bool version = false;

 private:
  bool TakeValue(int argc, const char* const* argv, int* i, std::string* value);
  bool ParseOne(int argc, const char* const* argv, int* i);
  bool SetLayers(const std::string& value);
  bool TakeThumbnail(int argc, const char* const* argv, int* i);
  bool CheckCombination();

  std::string error_;
};

}  // namespace pelo::tools
