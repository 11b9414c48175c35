#include "io/whole_inflate.h"

#ifdef PELO_HAVE_LIBDEFLATE

#include <libdeflate.h>

#include <atomic>
#include <memory>

namespace pelo {

namespace {

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;

// One decoder kept from call to call: a new one is a block of several KiB
// allocated and cleared, as long as inflating a small picture's body. Calls
// on several threads at once make their own; the one kept goes with the
// module.
class KeptDecompressor {
 public:
  ~KeptDecompressor() { Decompressor(kept_.exchange(nullptr)); }
  Decompressor Take() {
    if (libdeflate_decompressor* kept = kept_.exchange(nullptr)) return Decompressor(kept);
    return Decompressor(libdeflate_alloc_decompressor());
  }
  void Give(Decompressor decompressor) {
    libdeflate_decompressor* expected = nullptr;
    if (kept_.compare_exchange_strong(expected, decompressor.get())) decompressor.release();
  }

 private:
  std::atomic<libdeflate_decompressor*> kept_{nullptr};
};

KeptDecompressor keptDecompressor;

}  // namespace

bool WholeInflateAvailable() {
  return true;
}

bool InflateWhole(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* out,
                  std::size_t outSize, std::size_t* consumed) {
  Decompressor decompressor = keptDecompressor.Take();
  if (!decompressor) return false;
  std::size_t written = 0;
  const bool inflated =
      libdeflate_deflate_decompress_ex(decompressor.get(), input, inputSize, out, outSize, consumed,
                                       &written) == LIBDEFLATE_SUCCESS &&
      written == outSize;
  keptDecompressor.Give(std::move(decompressor));
  return inflated;
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
