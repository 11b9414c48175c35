// The fast way to inflate a body: the whole deflate data in one call of a
// decoder made for buffers whose sizes are known up front, where the build
// has one. It gives no reasons: a stream it refuses goes to zlib, whose
// verdict (and message) stands.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelo {

// True when this build has the whole-buffer decoder.
bool WholeInflateAvailable();

// Inflates the raw deflate data at input (at most inputSize bytes) into
// exactly outSize bytes at out and stores how many input bytes the data
// took in *consumed. False when the decoder is absent, the data is
// damaged, ends early, or inflates to any other size.
bool InflateWhole(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* out,
                  std::size_t outSize, std::size_t* consumed);

}  // namespace pelo
