// The bodies of the fuzz targets. libFuzzer drives them from fuzz/, and the
// ordinary test suites replay the kept corpus and every regression input
// through them, so a fixed finding stays fixed on every build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelo::test {

// The first byte picks the layer mode (bit 0: every layer); the rest is a
// whole file handed to GetPictureInfo and GetPicture as a memory source.
// Aborts when the two disagree on a picture that GetPicture delivered. The
// archive view of the file is listed and every entry drawn as well. Both
// calls together may allocate 64 MiB, so that every input ends quickly.
void FuzzPicture(const std::uint8_t* data, std::size_t size);

// A record body walked straight into a document under the budget its size
// allows, then built into a picture and its current page deep-copied, all
// within 64 MiB.
void FuzzRecordBody(const std::uint8_t* data, std::size_t size);

// Two bytes of output size, then a stored run-insertion block; expanded into
// a buffer of exactly that size.
void FuzzRunLength(const std::uint8_t* data, std::size_t size);

}  // namespace pelo::test
