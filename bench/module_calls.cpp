#include "module_calls.h"

#ifdef _WIN32
#include <windows.h>  // LocalFree: a Windows host frees the blocks with the system's call
#endif

#include "plugin/spi_api.h"

namespace pelo::bench {

const char* Source(const BenchDocument& doc) {
  return reinterpret_cast<const char*>(doc.file.data());
}

bool PictureInfoOf(const BenchDocument& doc) {
  PictureInfo info{};
  const int result =
      GetPictureInfo(Source(doc), static_cast<intptr_t>(doc.file.size()), kMemorySource, &info);
  return result == SPI_SUCCESS && info.width == doc.shape.size;
}

bool PictureOf(const BenchDocument& doc) {
  SpiLocalHandle header = nullptr;
  SpiLocalHandle pixels = nullptr;
  const int result = GetPicture(Source(doc), static_cast<intptr_t>(doc.file.size()), kMemorySource,
                                &header, &pixels, nullptr, 0);
  LocalFree(header);
  LocalFree(pixels);
  return result == SPI_SUCCESS;
}

void AddPipelineTasks(RoundTimer& timer, BareInflate& bare, const BenchDocument& doc) {
  timer.Add("zlib", [&bare] { return bare.Zlib(); });
  timer.Add("libdeflate", [&bare] { return bare.Libdeflate(); });
  timer.Add("GetPictureInfo", [&doc] { return PictureInfoOf(doc); });
  timer.Add("GetPicture", [&doc] { return PictureOf(doc); });
}

}  // namespace pelo::bench
