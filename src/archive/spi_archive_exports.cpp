// The archive module's face towards the host: each call loads the document
// through the one loading path, lists its entries and hands out the list or
// one entry's BMP file. Every call catches everything.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_listing.h"
#include "archive/entry_file.h"
#include "archive/spi_archive_api.h"
#include "document/image_document.h"
#include "platform/allocation.h"
#include "platform/exception.h"
#include "platform/folder_file.h"
#include "platform/local_memory.h"
#include "platform/plugin_result.h"
#include "plugin/picture_source.h"
#include "plugin/plugin_info.h"
#include "readers/file_format.h"
#include "readers/picture_loader.h"

#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2);
#endif
static_assert(sizeof(void*) != 4 || sizeof(ArchiveFileInfo) == 428, "fileInfo is 428 bytes");
static_assert(sizeof(void*) != 8 || sizeof(ArchiveFileInfo) == 448, "fileInfo is 448 on x64");
static_assert(offsetof(ArchiveFileInfo, path) == 8 + 4 * sizeof(void*));
#ifdef _WIN32
static_assert(sizeof(void*) != 4 || sizeof(ArchiveFileInfoW) == 828, "fileInfoW is 828 bytes");
static_assert(sizeof(void*) != 8 || sizeof(ArchiveFileInfoW) == 848, "fileInfoW is 848 on x64");
#endif

namespace pelo {
namespace {

constexpr const char* kPluginInfo[] = {
    "00AM",
    "PELO2 Layers Susie Plug-in Ver.1.00 (c) 2026 the Pelo2SPI developers",
    "*.pel",
    "PELO/PELO2\x83\x74\x83\x40\x83\x43\x83\x8b",
};
[[maybe_unused]] constexpr const wchar_t* kPluginInfoWide[] = {
    L"00AM",
    L"PELO2 Layers Susie Plug-in Ver.1.00 (c) 2026 the Pelo2SPI developers",
    L"*.pel",
    L"PELO/PELO2\u30D5\u30A1\u30A4\u30EB",
};

// Every entry is stored as it is drawn.
constexpr unsigned char kMethod[8] = {'B', 'M', 'P', 0, 0, 0, 0, 0};

// Loads the source's document with the call's budget open and runs body over
// it and its entries; open failures give 6, every exception 8.
template <typename Char, typename Body>
int WithEntries(const Char* source, std::intptr_t positionOrSize, unsigned int flag, Body body) {
  return WithPictureSource(source, positionOrSize, flag, [&](CPictureLoader& loader) -> int {
    CImageDocument document;
    if (const PluginResult loaded = loader.Load(&document); loaded != kResultSuccess) return loaded;
    std::vector<ArchiveEntry> entries;
    if (const PluginResult listed = ListArchiveEntries(document, &entries);
        listed != kResultSuccess)
      return listed;
    return body(document, entries);
  });
}

template <std::size_t N>
void CopyName(char (&field)[N], const CString& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
}

#ifdef _WIN32
template <std::size_t N>
void CopyName(wchar_t (&field)[N], const CString& text) {
  const std::wstring wide = WideFromCp932(text);
  std::memset(field, 0, sizeof field);
  std::memcpy(field, wide.data(), (wide.size() < N ? wide.size() : N - 1) * sizeof(wchar_t));
}
#endif

// Names are made short enough for both fields (see kMaxNamePartBytes).
template <typename Info>
void FillInfo(const ArchiveEntry& entry, std::size_t index, Info* info) {
  std::memset(info, 0, sizeof *info);
  std::memcpy(info->method, kMethod, sizeof kMethod);
  info->position = index;
  info->compsize = entry.fileBytes;
  info->filesize = entry.fileBytes;
  CopyName(info->path, entry.folder + "\\");
  CopyName(info->filename, entry.fileName);
}

// The records and the end record in one movable block, charged to the
// call's budget like a picture.
template <typename Info>
PluginResult HandOutList(const std::vector<ArchiveEntry>& entries, LocalHandle* list) {
  std::size_t bytes = 0;
  if (!CheckedMul(entries.size() + 1, sizeof(Info), &bytes)) return kResultNoMemory;
  try {
    ChargeAllocation(bytes);
  } catch (const CMemoryException&) {
    return kResultNoMemory;
  }
  LocalHandle block = AllocMovableBlock(bytes);
  auto* infos = static_cast<Info*>(LockBlock(block));
  if (infos == nullptr) {
    FreeBlock(block);
    return kResultNoMemory;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) FillInfo(entries[i], i, &infos[i]);
  std::memset(&infos[entries.size()], 0, sizeof(Info));
  UnlockBlock(block);
  *list = block;
  return kResultSuccess;
}

template <typename Info, typename Char>
int ArchiveInfoOf(const Char* source, std::intptr_t positionOrSize, unsigned int flag,
                  LocalHandle* list) {
  if (list == nullptr) return kResultUnknownFormat;
  *list = nullptr;
  return WithEntries(source, positionOrSize, flag,
                     [list](const CImageDocument&, const std::vector<ArchiveEntry>& entries) {
                       return HandOutList<Info>(entries, list);
                     });
}

// The name a host asks for, as the entries spell theirs.
CString EntryName(const char* name) {
  return CString(name);
}
#ifdef _WIN32
CString EntryName(const wchar_t* name) {
  return Cp932FromWide(name);
}
#endif

template <typename Info, typename Char>
int FileInfoOf(const Char* source, std::intptr_t positionOrSize, const Char* name,
               unsigned int flag, Info* info) {
  if (name == nullptr || info == nullptr) return kResultUnknownFormat;
  return WithEntries(source, positionOrSize, flag,
                     [&](const CImageDocument&, const std::vector<ArchiveEntry>& entries) {
                       const int index = FindArchiveEntry(entries, EntryName(name),
                                                          (flag & SPI_IGNORE_CASE) != 0);
                       if (index < 0) return kResultUnknownFormat;
                       const auto at = static_cast<std::size_t>(index);
                       FillInfo(entries[at], at, info);
                       return kResultSuccess;
                     });
}

// Frees a block that is not handed to the host, whatever happens.
class OwnedBlock {
 public:
  explicit OwnedBlock(LocalHandle block) : block_(block) {}
  ~OwnedBlock() { FreeBlock(block_); }
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;

 private:
  LocalHandle block_;
};

// A file source is read from its beginning: position names the entry. A
// memory source cannot name one, so it is not provided.
template <typename Char>
int FileOf(const Char* source, std::intptr_t position, Char* dest, unsigned int flag) {
  if (IsMemorySource(flag)) return kResultNotProvided;
  const unsigned int destKind = flag & SPI_DEST_MASK;
  if (dest == nullptr || (destKind != 0 && destKind != SPI_DEST_MEMORY))
    return kResultUnknownFormat;
  auto* block = reinterpret_cast<LocalHandle*>(dest);
  if (destKind == SPI_DEST_MEMORY) *block = nullptr;
  return WithEntries(source, 0, flag,
                     [&](const CImageDocument& document, const std::vector<ArchiveEntry>& entries) {
                       if (position < 0 || static_cast<std::size_t>(position) >= entries.size())
                         return kResultUnknownFormat;
                       const ArchiveEntry& entry = entries[static_cast<std::size_t>(position)];
                       LocalHandle file = nullptr;
                       const PluginResult built = BuildEntryFile(document, entry.choice, &file);
                       if (built != kResultSuccess) return built;
                       if (destKind == SPI_DEST_MEMORY) {
                         *block = file;
                         return kResultSuccess;
                       }
                       const OwnedBlock owned(file);
                       const void* bytes = LockBlock(file);
                       const bool written =
                           WriteFileInFolder(dest, entry.fileName, bytes, entry.fileBytes);
                       UnlockBlock(file);
                       return written ? kResultSuccess : kResultOpenFailed;
                     });
}

}  // namespace
}  // namespace pelo

using namespace pelo;

extern "C" {

SPI_EXPORT int SPI_CALL GetPluginInfo(int index, char* buffer, int length) {
  return CopyPluginInfo(kPluginInfo, index, buffer, length);
}

SPI_EXPORT int SPI_CALL IsSupported(const char* fileName, uintptr_t sourceWord) {
  return IsSupportedFile(fileName, sourceWord);
}

SPI_EXPORT int SPI_CALL GetArchiveInfo(const char* source, intptr_t positionOrSize,
                                       unsigned int flag, SpiLocalHandle* list) {
  return ArchiveInfoOf<ArchiveFileInfo>(source, positionOrSize, flag, list);
}

SPI_EXPORT int SPI_CALL GetFileInfo(const char* source, intptr_t positionOrSize, const char* name,
                                    unsigned int flag, ArchiveFileInfo* info) {
  return FileInfoOf(source, positionOrSize, name, flag, info);
}

SPI_EXPORT int SPI_CALL GetFile(const char* source, intptr_t position, char* dest,
                                unsigned int flag, SpiProgressCallback, intptr_t) {
  return FileOf(source, position, dest, flag);
}

// The archive view has no settings of its own.
SPI_EXPORT int SPI_CALL ConfigurationDlg(SpiWindowHandle, int) {
  return kResultNotProvided;
}

#ifdef _WIN32
SPI_EXPORT int SPI_CALL GetPluginInfoW(int index, wchar_t* buffer, int length) {
  return CopyPluginInfo(kPluginInfoWide, index, buffer, length);
}

SPI_EXPORT int SPI_CALL IsSupportedW(const wchar_t* fileName, uintptr_t sourceWord) {
  return IsSupportedFile(fileName, sourceWord);
}

SPI_EXPORT int SPI_CALL GetArchiveInfoW(const wchar_t* source, intptr_t positionOrSize,
                                        unsigned int flag, SpiLocalHandle* list) {
  return ArchiveInfoOf<ArchiveFileInfoW>(source, positionOrSize, flag, list);
}

SPI_EXPORT int SPI_CALL GetFileInfoW(const wchar_t* source, intptr_t positionOrSize,
                                     const wchar_t* name, unsigned int flag,
                                     ArchiveFileInfoW* info) {
  return FileInfoOf(source, positionOrSize, name, flag, info);
}

SPI_EXPORT int SPI_CALL GetFileW(const wchar_t* source, intptr_t position, wchar_t* dest,
                                 unsigned int flag, SpiProgressCallback, intptr_t) {
  return FileOf(source, position, dest, flag);
}
#endif

}  // extern "C"
