#include "converter.h"

#include <cstdio>
#include <filesystem>

#include "dib_picture.h"
#include "failure_reason.h"
#include "output_file.h"
#include "png_writer.h"
#include "scaled_picture.h"

namespace pelo::tools {

namespace fs = std::filesystem;

namespace {

std::string CheckAgreement(const PictureInfo& info, const DibPicture& picture) {
  if (info.width == picture.width() && info.height == picture.height() &&
      info.colorDepth == picture.bitsPerPixel())
    return {};
  return "the plug-in's picture information (" + std::to_string(info.width) + " x " +
         std::to_string(info.height) + ", " + std::to_string(info.colorDepth) +
         " bits) and its picture disagree";
}

bool WriteStandardOutput(const std::vector<std::uint8_t>& png) {
  return std::fwrite(png.data(), 1, png.size(), stdout) == png.size() && std::fflush(stdout) == 0;
}

}  // namespace

std::string Converter::OutputPathFor(const std::string& input, const std::string& outputFolder) {
  fs::path path(input);
  path.replace_extension(".png");
  if (!outputFolder.empty()) path = fs::path(outputFolder) / path.filename();
  return path.string();
}

void Converter::Report(const PictureInput& input, const std::string& reason) {
  progress_->Clear();
  std::fprintf(stderr, "pelconv: %s: %s\n", input.Name().c_str(), reason.c_str());
}

std::string Converter::Convert(PictureInput& input, std::vector<std::uint8_t>* png) const {
  if (!input.Prepare()) return input.error();
  PictureInfo info{};
  int result = module_.PictureInfoOf(input.Source(), input.PositionOrSize(), input.Flag(), &info);
  if (result != SPI_SUCCESS) return DescribeFailure(result, input);
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  result = module_.Picture(input.Source(), input.PositionOrSize(), input.Flag(), &header, &pixels);
  if (result != SPI_SUCCESS) return DescribeFailure(result, input);
  DibPicture picture(module_, header, pixels);
  if (!picture.Open()) return picture.error();
  if (std::string disagreement = CheckAgreement(info, picture); !disagreement.empty())
    return disagreement;
  PngWriter writer;
  const bool encoded = options_.thumbnail
                           ? writer.Encode(ScaledPicture(picture, options_.thumbnail->side), png)
                           : writer.Encode(picture, png);
  return encoded ? std::string() : writer.error();
}

std::string Converter::Deliver(const PictureInput& input, const std::vector<std::uint8_t>& png) {
  if (input.IsStandardInput())
    return WriteStandardOutput(png) ? std::string() : "cannot write to standard output";
  const std::string target = OutputPathFor(input.path(), options_.outputFolder);
  std::error_code ec;
  if (fs::equivalent(input.path(), target, ec))
    return "the PNG would replace the input itself; rename the input or use -o";
  OutputFile output(target);
  if (!output.Write(png)) return output.error();
  if (!options_.quiet) {
    progress_->Clear();
    std::printf("%s\n", target.c_str());
    std::fflush(stdout);
  }
  return {};
}

bool Converter::PrepareOutputFolder() {
  if (options_.outputFolder.empty()) return true;
  std::error_code ec;
  fs::create_directories(options_.outputFolder, ec);
  if (fs::is_directory(options_.outputFolder)) return true;
  std::fprintf(stderr, "pelconv: cannot use the output folder %s: %s\n",
               options_.outputFolder.c_str(), ec ? ec.message().c_str() : "it is not a folder");
  return false;
}

int Converter::Run() {
  if (!PrepareOutputFolder()) return static_cast<int>(options_.inputs.size());
  ProgressLine progress(options_.inputs.size(), !options_.quiet);
  progress_ = &progress;
  int failures = 0;
  for (std::size_t i = 0; i < options_.inputs.size(); ++i) {
    PictureInput input(options_.inputs[i]);
    progress.Show(i + 1, input.Name());
    std::vector<std::uint8_t> png;
    std::string reason = Convert(input, &png);
    if (reason.empty()) reason = Deliver(input, png);
    if (reason.empty()) continue;
    Report(input, reason);
    ++failures;
  }
  progress_ = nullptr;
  return failures;
}

}  // namespace pelo::tools
