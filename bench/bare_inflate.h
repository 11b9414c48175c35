// The floors: one bare inflate of a document's body, by zlib or by
// libdeflate, into an output buffer that stays allocated and touched from
// call to call (a warm buffer), in the same process as the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench_documents.h"

namespace pelo::bench {

class BareInflate {
 public:
  explicit BareInflate(const BenchDocument& doc);

  // zlib's inflate of the whole stream, its checksum included.
  bool Zlib();
  // libdeflate's zlib decoder over the whole stream, its checksum included;
  // false (never run) where the build has no libdeflate.
  bool Libdeflate();
  static bool HaveLibdeflate();

 private:
  const BenchDocument& doc_;
  std::vector<std::uint8_t> out_;
};

}  // namespace pelo::bench
