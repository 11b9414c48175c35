#include "io/whole_inflate.h"

#ifdef PELO_HAVE_LIBDEFLATE

#include <libdeflate.h>

#include <memory>

namespace pelo {

namespace {

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

bool WholeInflateAvailable() {
  return true;
}

bool InflateWhole(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* out,
                  std::size_t outSize, std::size_t* consumed) {
  // A few KiB of tables, made per call: cheaper than keeping one per thread
  // alive inside a host that may unload the module on any thread.
  const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) return false;
  std::size_t written = 0;
  return libdeflate_deflate_decompress_ex(decompressor.get(), input, inputSize, out, outSize,
                                          consumed, &written) == LIBDEFLATE_SUCCESS &&
         written == outSize;
}

}  // namespace pelo

#else

namespace pelo {

bool WholeInflateAvailable() {
  return false;
}

bool InflateWhole(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t, std::size_t*) {
  return false;
}

}  // namespace pelo

#endif
