#include "bare_inflate.h"

#include <zlib.h>

#ifdef PELO_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

namespace pelo::bench {

BareInflate::BareInflate(const BenchDocument& doc) : doc_(doc), out_(doc.bodySize, 1) {}

bool BareInflate::Zlib() {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(doc_.file.data() + doc_.streamOffset);
  stream.avail_in = static_cast<uInt>(doc_.file.size() - doc_.streamOffset);
  stream.next_out = out_.data();
  stream.avail_out = static_cast<uInt>(out_.size());
  const int result = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  return result == Z_STREAM_END && stream.total_out == out_.size();
}

bool BareInflate::HaveLibdeflate() {
#ifdef PELO_HAVE_LIBDEFLATE
  return true;
#else
  return false;
#endif
}

bool BareInflate::Libdeflate() {
#ifdef PELO_HAVE_LIBDEFLATE
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  if (decompressor == nullptr) return false;
  std::size_t written = 0;
  const libdeflate_result result = libdeflate_zlib_decompress(
      decompressor, doc_.file.data() + doc_.streamOffset, doc_.file.size() - doc_.streamOffset,
      out_.data(), out_.size(), &written);
  libdeflate_free_decompressor(decompressor);
  return result == LIBDEFLATE_SUCCESS && written == out_.size();
#else
  return false;
#endif
}

}  // namespace pelo::bench
