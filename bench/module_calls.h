// The module's calls as the benchmarks make them: a memory source, and the
// two blocks of a picture freed before the next call, as a host does.
#pragma once

#include "bare_inflate.h"
#include "bench_documents.h"
#include "round_timer.h"

namespace pelo::bench {

inline constexpr unsigned kMemorySource = 1;

const char* Source(const BenchDocument& doc);
// GetPictureInfo succeeded with the document's width.
bool PictureInfoOf(const BenchDocument& doc);
// GetPicture succeeded; its blocks are freed again.
bool PictureOf(const BenchDocument& doc);

// The four measurements both programs make of a document, as tasks 0 to 3:
// bare zlib, bare libdeflate, GetPictureInfo, GetPicture. bare and doc
// must outlive the timer's run.
void AddPipelineTasks(RoundTimer& timer, BareInflate& bare, const BenchDocument& doc);

}  // namespace pelo::bench
