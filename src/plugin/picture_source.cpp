#include "plugin/picture_source.h"

#include "platform/mem_file.h"
#include "plugin/spi_api.h"

namespace pelo {

namespace {

template <typename Char>
std::unique_ptr<CFile> Open(const Char* source, std::intptr_t positionOrSize, unsigned int flag) {
  if (IsMemorySource(flag)) {
    const std::size_t size = positionOrSize < 0 ? 0 : static_cast<std::size_t>(positionOrSize);
    return std::make_unique<CMemFile>(static_cast<const void*>(source), size);
  }
  auto file = std::make_unique<CFile>();
  if (!file->Open(source)) return nullptr;
  // A negative offset is refused by the seek like any other bad position.
  file->Seek(static_cast<std::uint64_t>(static_cast<std::int64_t>(positionOrSize)));
  return file;
}

}  // namespace

bool IsMemorySource(unsigned int flag) {
  return (flag & SPI_SOURCE_MEMORY_MASK) != 0;
}

std::unique_ptr<CFile> OpenPictureSource(const char* source, std::intptr_t positionOrSize,
                                         unsigned int flag) {
  return Open(source, positionOrSize, flag);
}

#ifdef _WIN32
std::unique_ptr<CFile> OpenPictureSource(const wchar_t* source, std::intptr_t positionOrSize,
                                         unsigned int flag) {
  return Open(source, positionOrSize, flag);
}
#endif

}  // namespace pelo
