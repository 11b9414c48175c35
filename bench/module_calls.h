// The module's calls as the benchmarks make them: a memory source, and the
// two blocks of a picture freed before the next call, as a host does.
#pragma once

#include "bench_documents.h"

namespace pelo::bench {

inline constexpr unsigned kMemorySource = 1;

const char* Source(const BenchDocument& doc);
// GetPictureInfo succeeded with the document's width.
bool PictureInfoOf(const BenchDocument& doc);
// GetPicture succeeded; its blocks are freed again.
bool PictureOf(const BenchDocument& doc);

}  // namespace pelo::bench
