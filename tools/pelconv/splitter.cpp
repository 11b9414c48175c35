#include "splitter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <vector>

#include "archive/archive_listing.h"
#include "archive/entry_file.h"
#include "entry_picture.h"
#include "failure_reason.h"
#include "output_file.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/local_memory.h"
#include "png_writer.h"
#include "readers/picture_loader.h"
#include "text_conversion.h"

namespace pelo::tools {

namespace fs = std::filesystem;

namespace {

// The entry's BMP file, drawn under a budget of its own as one GetFile
// call of the archive module is.
PluginResult EntryBytes(const CImageDocument& document, const ArchiveEntry& entry,
                        std::vector<std::uint8_t>* bytes) {
  AllocationBudget call(kMaxCallBytes);
  LocalHandle block = nullptr;
  const PluginResult built = BuildEntryFile(document, entry.choice, &block);
  if (built != kResultSuccess) return built;
  const void* file = LockBlock(block);
  const auto* at = static_cast<const std::uint8_t*>(file);
  bytes->assign(at, at + entry.fileBytes);
  UnlockBlock(block);
  FreeBlock(block);
  return kResultSuccess;
}

fs::path Utf8Path(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

// "001 Page\picture.bmp" as "001 Page/picture.png", named in UTF-8.
fs::path EntryPath(const ArchiveEntry& entry) {
  fs::path name = Utf8Path(Cp932ToUtf8(entry.fileName));
  name.replace_extension(".png");
  return Utf8Path(Cp932ToUtf8(entry.folder)) / name;
}

}  // namespace

std::string Splitter::FolderFor(const std::string& input, const std::string& outputFolder) {
  fs::path path(input);
  path.replace_extension();
  if (!outputFolder.empty()) path = fs::path(outputFolder) / path.filename();
  return path.string();
}

std::string Splitter::Split(const PictureInput& input) const {
  std::unique_ptr<CFile> file = input.OpenFile();
  if (!file) return DescribeFailure(kResultOpenFailed, input);
  CImageDocument document;
  std::vector<ArchiveEntry> entries;
  try {
    CPictureLoader loader(*file);
    if (loader.format() == kFormatNone) return DescribeFailure(kResultUnknownFormat, input);
    AllocationBudget call(kMaxCallBytes);
    if (const PluginResult loaded = loader.Load(&document); loaded != kResultSuccess)
      return DescribeFailure(loaded, input);
    if (const PluginResult listed = ListArchiveEntries(document, &entries);
        listed != kResultSuccess)
      return DescribeFailure(listed, input);
  } catch (const CException&) {
    return DescribeFailure(kResultUnknownFormat, input);
  }
  const fs::path folder(FolderFor(input.path(), options_.outputFolder));
  for (const ArchiveEntry& entry : entries) {
    std::vector<std::uint8_t> bytes;
    if (const PluginResult built = EntryBytes(document, entry, &bytes); built != kResultSuccess)
      return DescribeFailure(built, input);
    EntryPicture picture(std::move(bytes));
    if (!picture.Open()) return picture.error();
    std::vector<std::uint8_t> png;
    PngWriter writer;
    if (!writer.Encode(picture, &png)) return writer.error();
    const fs::path target = folder / EntryPath(entry);
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    OutputFile output(target.string());
    if (!output.Write(png)) return output.error();
    if (!options_.quiet) std::printf("%s\n", Utf8Of(target).c_str());
  }
  std::fflush(stdout);
  return {};
}

int Splitter::Run() {
  int failures = 0;
  for (const std::string& argument : options_.inputs) {
    PictureInput input(argument);
    std::string reason;
    try {
      reason = Split(input);
    } catch (const std::exception& e) {
      // A name that the system's code page cannot spell, for one.
      reason = e.what();
    }
    if (!reason.empty()) {
      std::fprintf(stderr, "pelconv: %s: %s\n", input.Name().c_str(), reason.c_str());
      ++failures;
    }
  }
  return failures;
}

}  // namespace pelo::tools
