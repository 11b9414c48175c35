#include "options.h"

#include <algorithm>
#include <charconv>

#include "scaled_picture.h"

namespace pelo::tools {

bool Options::TakeValue(int argc, const char* const* argv, int* i, std::string* value) {
  const std::string arg = argv[*i];
  const auto equals = arg.find('=');
  if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
    *value = arg.substr(equals + 1);
    return true;
  }
  if (*i + 1 >= argc) {
    error_ = "option " + arg + " needs a value";
    return false;
  }
  *value = argv[++*i];
  return true;
}

bool Options::SetLayers(const std::string& value) {
  if (value == "visible") {
    layers = LayerMode::visible;
  } else if (value == "all") {
    layers = LayerMode::all;
  } else {
    error_ = "--layers takes visible or all, not \"" + value + "\"";
    return false;
  }
  return true;
}

// The three values are taken as they are, even when they begin with '-': a
// thumbnailer passes whatever names the files have.
bool Options::TakeThumbnail(int argc, const char* const* argv, int* i) {
  if (*i + 3 >= argc) {
    error_ = "--thumbnail needs SIZE, INPUT and OUTPUT";
    return false;
  }
  const std::string size = argv[*i + 1];
  ThumbnailRequest request;
  const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), request.side);
  if (ec != std::errc() || end != size.data() + size.size() || request.side < 1 ||
      request.side > ScaledPicture::kMaxSide) {
    error_ = "--thumbnail takes a SIZE from 1 to " + std::to_string(ScaledPicture::kMaxSide) +
             ", not \"" + size + "\"";
    return false;
  }
  request.input = argv[*i + 2];
  request.output = argv[*i + 3];
  // A file named "-", not standard input.
  if (request.input == "-") request.input = "./-";
  thumbnail = std::move(request);
  *i += 3;
  return true;
}

bool Options::ParseOne(int argc, const char* const* argv, int* i) {
  const std::string arg = argv[*i];
  const std::string name = arg.substr(0, arg.find('='));
  std::string value;
  if (arg == "-h" || arg == "--help") return help = true;
  if (arg == "--version") return version = true;
  if (arg == "-q" || arg == "--quiet") return quiet = true;
  if (arg == "--info") return info = true;
  if (arg == "--split") return split = true;
  if (arg == "--thumbnail") return TakeThumbnail(argc, argv, i);
  if (arg == "-o" || name == "--output") return TakeValue(argc, argv, i, &outputFolder);
  if (name == "--plugin") return TakeValue(argc, argv, i, &pluginPath);
  if (name == "--layers") return TakeValue(argc, argv, i, &value) && SetLayers(value);
  error_ = "unknown option " + arg;
  return false;
}

bool Options::Parse(int argc, const char* const* argv) {
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      inputs.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (!ParseOne(argc, argv, &i)) {
      return false;
    }
  }
  if (help || version) return true;
  return CheckCombination();
}

bool Options::CheckCombination() {
  if (thumbnail) {
    if (inputs.empty() && outputFolder.empty() && !info && !split) return true;
    error_ = "--thumbnail converts one INPUT into OUTPUT; no other files, -o, --info or --split";
    return false;
  }
  if (inputs.empty()) {
    error_ = "no input files";
    return false;
  }
  if (std::count(inputs.begin(), inputs.end(), "-") > 1) {
    error_ = "standard input (-) can be read only once";
    return false;
  }
  if (!outputFolder.empty() && info) {
    error_ = "--info writes no files; -o does not apply";
    return false;
  }
  if (split && (info || layers)) {
    error_ = "--split writes every layer set; --info and --layers do not apply";
    return false;
  }
  if (split && std::count(inputs.begin(), inputs.end(), "-") > 0) {
    error_ = "--split names its folder after the input file; standard input (-) has none";
    return false;
  }
  return true;
}

}  // namespace pelo::tools
