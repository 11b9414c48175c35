/* The functions that image viewers call, as the plug-in exports them.
   Usable from C and C++ hosts. In the 32-bit Windows DLL they use the
   standard calling convention and undecorated names; on 64-bit builds the
   arguments that carry a pointer or a handle are pointer-sized. The Windows
   DLLs also export the Unicode forms (names ending in W), which take file
   names as UTF-16; natively file names are UTF-8 and only the plain forms
   exist. */
#ifndef PELO2SPI_SPI_API_H
#define PELO2SPI_SPI_API_H

#include <stddef.h>
#include <stdint.h>
#ifdef _WIN32
#include <wchar.h>
#endif

#ifdef _WIN32
#define SPI_CALL __stdcall
#ifdef PELO2SPI_BUILDING
#define SPI_EXPORT __declspec(dllexport)
#else
#define SPI_EXPORT __declspec(dllimport)
#endif
#else
#define SPI_CALL
#define SPI_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* SpiLocalHandle;  /* HLOCAL */
typedef void* SpiWindowHandle; /* HWND */
typedef int(SPI_CALL* SpiProgressCallback)(int, int, intptr_t);

/* Result codes of GetPictureInfo, GetPicture, GetPreview and ConfigurationDlg. */
enum {
  SPI_SUCCESS = 0,
  SPI_REJECTED = 3,
  SPI_NO_MEMORY = 5,
  SPI_OPEN_FAILED = 6,
  SPI_UNKNOWN_FORMAT = 8,
  SPI_NOT_PROVIDED = -1
};

/* Bits 0-2 of the source flag: 0 file name with byte offset, else memory image. */
#define SPI_SOURCE_MEMORY_MASK 7u

#pragma pack(push, 1)
typedef struct PictureInfo {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
  uint16_t x_density;
  uint16_t y_density;
  int16_t colorDepth;
#if UINTPTR_MAX > 0xFFFFFFFFu
  /* 64-bit hosts align the handle: 32 bytes with hInfo at 24. */
  char dummy[2];
#endif
  SpiLocalHandle hInfo;
} PictureInfo;
#pragma pack(pop)

SPI_EXPORT int SPI_CALL GetPluginInfo(int index, char* buffer, int length);
SPI_EXPORT int SPI_CALL IsSupported(const char* fileName, uintptr_t sourceWord);
SPI_EXPORT int SPI_CALL GetPictureInfo(const char* source, intptr_t positionOrSize,
                                       unsigned int flag, PictureInfo* info);
SPI_EXPORT int SPI_CALL GetPicture(const char* source, intptr_t positionOrSize, unsigned int flag,
                                   SpiLocalHandle* header, SpiLocalHandle* pixels,
                                   SpiProgressCallback progress, intptr_t callbackData);
SPI_EXPORT int SPI_CALL GetPreview(const char* source, intptr_t positionOrSize, unsigned int flag,
                                   SpiLocalHandle* header, SpiLocalHandle* pixels,
                                   SpiProgressCallback progress, intptr_t callbackData);
SPI_EXPORT int SPI_CALL ConfigurationDlg(SpiWindowHandle parent, int function);

#ifdef _WIN32
/* The Unicode forms: lengths of GetPluginInfoW in wchar_t units; a memory
   source is the same bytes as for the plain forms. */
SPI_EXPORT int SPI_CALL GetPluginInfoW(int index, wchar_t* buffer, int length);
SPI_EXPORT int SPI_CALL IsSupportedW(const wchar_t* fileName, uintptr_t sourceWord);
SPI_EXPORT int SPI_CALL GetPictureInfoW(const wchar_t* source, intptr_t positionOrSize,
                                        unsigned int flag, PictureInfo* info);
SPI_EXPORT int SPI_CALL GetPictureW(const wchar_t* source, intptr_t positionOrSize,
                                    unsigned int flag, SpiLocalHandle* header,
                                    SpiLocalHandle* pixels, SpiProgressCallback progress,
                                    intptr_t callbackData);
SPI_EXPORT int SPI_CALL GetPreviewW(const wchar_t* source, intptr_t positionOrSize,
                                    unsigned int flag, SpiLocalHandle* header,
                                    SpiLocalHandle* pixels, SpiProgressCallback progress,
                                    intptr_t callbackData);
#endif

#ifndef _WIN32
/* Native builds: the local-heap calls a host uses on what GetPicture returns. */
SPI_EXPORT void* LocalLock(void* block);
SPI_EXPORT int LocalUnlock(void* block);
SPI_EXPORT void* LocalFree(void* block);
SPI_EXPORT size_t LocalSize(void* block);
#endif

#ifdef __cplusplus
}
#endif

#endif
