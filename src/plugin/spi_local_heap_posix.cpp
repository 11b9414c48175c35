// Native hosts free what GetPicture hands over with the same calls a
// Windows host uses; the module exports them beside its six entry points.
#include "platform/local_memory.h"
#include "plugin/spi_api.h"

extern "C" {

SPI_EXPORT void* LocalLock(void* block) { return pelo::LockBlock(block); }

SPI_EXPORT int LocalUnlock(void* block) {
  pelo::UnlockBlock(block);
  return 0;
}

SPI_EXPORT void* LocalFree(void* block) {
  pelo::FreeBlock(block);
  return nullptr;
}

SPI_EXPORT size_t LocalSize(void* block) { return pelo::BlockSize(block); }

}  // extern "C"
