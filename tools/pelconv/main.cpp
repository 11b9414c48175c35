// pelconv: turns .pel pictures into PNG files through the plug-in module,
// for people who keep .pel files but run no image viewer that loads it.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "converter.h"
#include "info_printer.h"
#include "module_copy.h"
#include "options.h"
#include "plugin_module.h"
#include "splitter.h"
#include "system_paths.h"
#include "text_conversion.h"
#include "thumbnail_writer.h"

#ifndef PELCONV_VERSION
#define PELCONV_VERSION "0"
#endif

namespace pelo::tools {

namespace {

constexpr int kExitFailedFiles = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "Usage: pelconv [OPTION]... FILE...\n"
    "Converts .pel pictures (current and legacy format) into PNG files.\n"
    "Each FILE.pel becomes FILE.png beside it; - reads standard input and\n"
    "writes the PNG to standard output. The paths written are printed.\n"
    "\n"
    "  -o, --output DIR       write the PNG files into DIR (made when missing)\n"
    "      --layers MODE      visible: compose only visible layers; all: every\n"
    "                         layer (default: the LayerBond setting of the module)\n"
    "      --info             print format, size, depth, pages, palettes and\n"
    "                         layers instead of converting\n"
    "      --split            write every page, layer set, layer and palette of\n"
    "                         each FILE as PNG files into a folder named after it\n"
    "      --thumbnail SIZE INPUT OUTPUT\n"
    "                         write INPUT as a PNG thumbnail OUTPUT no larger than\n"
    "                         SIZE x SIZE, scaled by whole factors without blur\n"
    "      --plugin PATH      the plug-in module to use (default: %s beside pelconv)\n"
    "  -q, --quiet            no progress line and no list of written files\n"
    "  -h, --help             show this help and exit\n"
    "      --version          show the version and exit\n"
    "\n"
    "Exit status: 0 when every file converted, 1 when any failed, 2 for a\n"
    "command line or plug-in that cannot be used.\n";

// Beside the executable in a build tree; in an installation, where the
// install step put the module relative to the program.
std::string DefaultPluginPath() {
  const std::filesystem::path folder = std::filesystem::path(ExecutablePath()).parent_path();
  const std::filesystem::path beside = folder / PluginFileName();
#ifdef PELCONV_INSTALLED_MODULE_DIR
  std::error_code ec;
  if (!std::filesystem::exists(beside, ec))
    return (folder / PELCONV_INSTALLED_MODULE_DIR / PluginFileName()).lexically_normal().string();
#endif
  return beside.string();
}

int PrintVersion(const Options& options) {
  std::printf("pelconv %s\n", PELCONV_VERSION);
  PluginModule module;
  const std::string path = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  if (module.Load(path))
    std::printf("plug-in %s: %s\n", path.c_str(), Cp932ToUtf8(module.Info(1)).c_str());
  return 0;
}

int PrintInfo(const PluginModule& module, const Options& options) {
  InfoPrinter printer(module, stdout);
  int failures = 0;
  for (const std::string& argument : options.inputs) {
    PictureInput input(argument);
    if (!printer.Print(input)) ++failures;
  }
  return failures;
}

int Run(int argc, char** argv) {
  Options options;
  if (!options.Parse(argc, argv)) {
    std::fprintf(stderr, "pelconv: %s\nTry 'pelconv --help' for more information.\n",
                 options.error().c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::printf(kUsage, PluginFileName());
    return 0;
  }
  if (options.version) return PrintVersion(options);
  if (options.split) return Splitter(options).Run() == 0 ? 0 : kExitFailedFiles;

  std::string pluginPath = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  // Declared before the module, so the copy is unloaded before its folder goes.
  ModuleCopy copy;
  if (options.layers) {
    if (!copy.Make(pluginPath, *options.layers == LayerMode::all ? 1 : 0)) {
      std::fprintf(stderr, "pelconv: %s\n", copy.error().c_str());
      return kExitUsage;
    }
    pluginPath = copy.path();
  }
  PluginModule module;
  if (!module.Load(pluginPath)) {
    std::fprintf(stderr, "pelconv: cannot use the plug-in: %s\n", module.error().c_str());
    return kExitUsage;
  }
  if (options.thumbnail) return ThumbnailWriter(module, options).Run() ? 0 : kExitFailedFiles;
  const int failures = options.info ? PrintInfo(module, options) : Converter(module, options).Run();
  return failures == 0 ? 0 : kExitFailedFiles;
}

}  // namespace

}  // namespace pelo::tools

int main(int argc, char** argv) {
  pelo::tools::PrepareStandardStreams();
  return pelo::tools::Run(argc, argv);
}
