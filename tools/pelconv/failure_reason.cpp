#include "failure_reason.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "document/image_document.h"
#include "readers/picture_loader.h"
#include "text_conversion.h"

namespace pelo::tools {

namespace {

FileFormat FormatOf(const PictureInput& input) {
  try {
    std::unique_ptr<CFile> file = input.OpenFile();
    return file ? DetectFileFormat(*file) : kFormatNone;
  } catch (...) {
    return kFormatNone;
  }
}

// The file's format and, for a current-format file, the loader's own
// description of why it refused the file.
std::string LoaderText(const PictureInput& input, FileFormat* format) {
  try {
    std::unique_ptr<CFile> file = input.OpenFile();
    if (!file) return {};
    CPictureLoader loader(*file);
    *format = loader.format();
    CImageDocument document;
    if (loader.Load(&document) == kResultSuccess) return {};
    return Cp932ToUtf8(document.errorText);
  } catch (...) {
    return {};
  }
}

std::string OpenFailure(const PictureInput& input) {
  std::FILE* file = std::fopen(input.path().c_str(), "rb");
  if (file == nullptr) return std::string("cannot open the file: ") + std::strerror(errno);
  std::fclose(file);
  return "cannot open the file";
}

std::string Rejected(const PictureInput& input) {
  FileFormat format = kFormatNone;
  const std::string text = LoaderText(input, &format);
  if (format == kFormatLegacy)
    return "not a readable legacy file: its signature is not \"PELO\" followed by a zero byte";
  return text.empty() ? std::string("the file's content was rejected")
                      : "the file's content was rejected: " + text;
}

std::string Unreadable(const PictureInput& input) {
  if (FormatOf(input) == kFormatNone)
    return "not a .pel picture: it begins with neither \"PELO\" nor \"PELO2\"";
  return "the file is damaged or ends too early";
}

std::string Sentence(int result, const PictureInput& input) {
  switch (result) {
    case SPI_REJECTED:
      return Rejected(input);
    case SPI_NO_MEMORY:
      return "no memory for the picture, or the picture has no pixels";
    case SPI_OPEN_FAILED:
      return OpenFailure(input);
    case SPI_UNKNOWN_FORMAT:
      return Unreadable(input);
    case SPI_NOT_PROVIDED:
      return "the plug-in does not provide this function";
    default:
      return "the plug-in failed";
  }
}

}  // namespace

std::string DescribeFailure(int result, const PictureInput& input) {
  return Sentence(result, input) + " (plug-in result " + std::to_string(result) + ")";
}

}  // namespace pelo::tools
