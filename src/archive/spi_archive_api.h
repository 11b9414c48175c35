/* The functions that viewers call on the archive module, which shows each
   page, layer and palette of a document as a file of its own. Usable from C
   and C++ hosts; calling conventions and the W forms as in spi_api.h. */
#ifndef PELO2LAYERS_SPI_ARCHIVE_API_H
#define PELO2LAYERS_SPI_ARCHIVE_API_H

#include "plugin/spi_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Bits 8-10 of GetFile's flag: 0 dest names a folder to write the entry
   into, 1 dest is a SpiLocalHandle* that receives a movable block holding
   the entry. */
#define SPI_DEST_MASK 0x700u
#define SPI_DEST_MEMORY 0x100u
/* GetFileInfo's flag: compare names without regard to ASCII case. */
#define SPI_IGNORE_CASE 0x80u

/* One entry of the list that GetArchiveInfo returns; the list ends with a
   record whose method[0] is 0. position is the entry's index, filesize and
   compsize the size of its BMP file; path (the entry's folder, ending with a
   backslash) and filename together are the name that GetFileInfo finds. */
#pragma pack(push, 1)
typedef struct ArchiveFileInfo {
  unsigned char method[8];
  uintptr_t position;
  uintptr_t compsize;
  uintptr_t filesize;
  uintptr_t timestamp;
  char path[200];
  char filename[200];
  uint32_t crc;
#if UINTPTR_MAX > 0xFFFFFFFFu
  char dummy[4];
#endif
} ArchiveFileInfo;
#ifdef _WIN32
typedef struct ArchiveFileInfoW {
  unsigned char method[8];
  uintptr_t position;
  uintptr_t compsize;
  uintptr_t filesize;
  uintptr_t timestamp;
  wchar_t path[200];
  wchar_t filename[200];
  uint32_t crc;
#if UINTPTR_MAX > 0xFFFFFFFFu
  char dummy[4];
#endif
} ArchiveFileInfoW;
#endif
#pragma pack(pop)

SPI_EXPORT int SPI_CALL GetArchiveInfo(const char* source, intptr_t positionOrSize,
                                       unsigned int flag, SpiLocalHandle* list);
SPI_EXPORT int SPI_CALL GetFileInfo(const char* source, intptr_t positionOrSize, const char* name,
                                    unsigned int flag, ArchiveFileInfo* info);
SPI_EXPORT int SPI_CALL GetFile(const char* source, intptr_t position, char* dest,
                                unsigned int flag, SpiProgressCallback progress,
                                intptr_t callbackData);

#ifdef _WIN32
SPI_EXPORT int SPI_CALL GetArchiveInfoW(const wchar_t* source, intptr_t positionOrSize,
                                        unsigned int flag, SpiLocalHandle* list);
SPI_EXPORT int SPI_CALL GetFileInfoW(const wchar_t* source, intptr_t positionOrSize,
                                     const wchar_t* name, unsigned int flag,
                                     ArchiveFileInfoW* info);
SPI_EXPORT int SPI_CALL GetFileW(const wchar_t* source, intptr_t position, wchar_t* dest,
                                 unsigned int flag, SpiProgressCallback progress,
                                 intptr_t callbackData);
#endif

#ifdef __cplusplus
}
#endif

#endif
