#include "support/fuzz_targets.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive/archive_listing.h"
#include "archive/entry_file.h"
#include "document/image_document.h"
#include "io/binary_reader.h"
#include "io/record_stream.h"
#include "legacy/run_length_block.h"
#include "pages/page.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/local_memory.h"
#include "platform/mem_file.h"
#include "plugin/bitmap_builder.h"
#include "plugin/spi_api.h"
#include "readers/picture_loader.h"
#include "settings/layer_bond.h"
#include "support/taken_block.h"

namespace pelo::test {

namespace {

constexpr unsigned kMemorySource = 1;

// What one input may allocate. Under the sanitizers fresh memory costs a few
// milliseconds per MiB, so a picture at the module's own limits (512 MiB
// from a hundred bytes naming a large blank page) takes seconds, past the
// fuzzer's per-input timeout; the module's limits are tested by the hostile
// and honest file tables instead. Refusals under this budget take the paths
// the module's own limits take.
constexpr std::size_t kInputBytes = std::size_t{64} << 20;

// The setting is read from a file on every picture: write it only when the
// input asks for the other mode.
void UseLayerMode(int mode) {
  static int current = -1;
  if (mode == current) return;
  WriteLayerBond(mode);
  current = mode;
}

std::int32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::int32_t v = 0;
  std::memcpy(&v, bytes.data() + at, sizeof v);
  return v;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

// The archive view of the same file, as the archive module's calls make it:
// every entry it lists is drawn at the size it was listed with, as long as
// the input's budget lasts.
void ListAndExtract(const std::vector<std::uint8_t>& file) {
  CMemFile memory(file.data(), file.size());
  try {
    CPictureLoader loader(memory);
    if (loader.format() == kFormatNone) return;
    CImageDocument document;
    if (loader.Load(&document) != kResultSuccess) return;
    std::vector<ArchiveEntry> entries;
    if (ListArchiveEntries(document, &entries) != kResultSuccess) return;
    for (const ArchiveEntry& entry : entries) {
      LocalHandle block = nullptr;
      if (BuildEntryFile(document, entry.choice, &block) != kResultSuccess) {
        Require(block == nullptr);
        continue;
      }
      const std::vector<std::uint8_t> bytes = TakeBlock(block);
      Require(bytes.size() == entry.fileBytes && bytes[0] == 'B' && bytes[1] == 'M');
    }
  } catch (const CException&) {
  }
}

}  // namespace

void FuzzPicture(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  UseLayerMode(data[0] & 1);
  // An exact copy, so that any read past the caller's size is caught.
  const std::vector<std::uint8_t> file(data + 1, data + size);
  AllocationBudget budget(kInputBytes);
  const auto* source = reinterpret_cast<const char*>(file.data());
  const auto length = static_cast<intptr_t>(file.size());
  PictureInfo info{};
  const int infoResult = GetPictureInfo(source, length, kMemorySource, &info);
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  const int pictureResult = GetPicture(source, length, kMemorySource, &header, &pixels, nullptr, 0);
  ListAndExtract(file);
  if (pictureResult != SPI_SUCCESS) {
    Require(header == nullptr && pixels == nullptr);
    return;
  }
  const std::vector<std::uint8_t> headerBytes = TakeBlock(header);
  TakeBlock(pixels);
  Require(infoResult == SPI_SUCCESS && headerBytes.size() >= 40);
  Require(Le32(headerBytes, 4) == info.width && Le32(headerBytes, 8) == info.height);
}

void FuzzRecordBody(const std::uint8_t* data, std::size_t size) {
  CMemFile file(data, size);
  CBinaryReader reader(&file);
  CImageDocument document;
  // One budget for the load, the picture and the copy, as a call has, and
  // the body's own for its records, as a load has.
  AllocationBudget budget(kInputBytes);
  try {
    AllocationBudget described(LoadBudgetFor(size));
    ReadRecords(reader, static_cast<std::uint32_t>(size), DocumentRecordHandler, &document);
  } catch (const CException&) {
    // A refused body still leaves a document to build and to copy.
  }
  // Every set of layers the builder draws, the body's size choosing one; the
  // one layer alone is the first.
  PictureChoice choice;
  choice.layers = static_cast<LayerSet>(size % 3);
  choice.layer = 0;
  LocalHandle header = nullptr;
  LocalHandle pixels = nullptr;
  if (BuildPictureBitmap(document, choice, &header, &pixels) == kResultSuccess) {
    FreeBlock(header);
    FreeBlock(pixels);
  }
  if (const CListItem* page = document.pages.GetCurrent()) {
    try {
      page->Clone();
    } catch (const CException&) {
    }
  }
}

void FuzzRunLength(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  const std::size_t outputSize = data[0] | (data[1] << 8);
  CMemFile file(data + 2, size - 2);
  CBinaryReader reader(&file);
  CRunLengthBlock block;
  try {
    block.Read(reader, static_cast<std::uint32_t>(outputSize));
  } catch (const CException&) {
    return;
  }
  std::vector<std::uint8_t> output(outputSize);
  block.Expand(output.data(), output.size());
}

}  // namespace pelo::test
