#include "legacy/run_length_block.h"

#include <algorithm>
#include <cstring>

namespace pelo {

namespace {
constexpr std::uint32_t kReadChunk = 64 * 1024;

CRunLengthBlock::Run ParseRun(const std::uint8_t* b) {
  CRunLengthBlock::Run run;
  run.position = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  run.length = b[4] | (b[5] << 8) | (b[6] << 16) | (static_cast<std::uint32_t>(b[7]) << 24);
  run.value = b[8];
  return run;
}
}  // namespace

void CRunLengthBlock::Read(CBinaryReader& reader, std::uint32_t expandedSize) {
  Release();
  expandedSize_ = expandedSize;
  const std::uint32_t runCount = reader.ReadDword();
  for (std::uint32_t i = 0; i < runCount; ++i) {
    std::uint8_t record[9];
    reader.ReadBytes(record, sizeof record, true);
    runs_.push_back(ParseRun(record));
  }
  const std::uint32_t literalSize = reader.ReadDword();
  while (literals_.size() < literalSize) {
    const std::size_t at = literals_.size();
    const auto chunk =
        static_cast<std::uint32_t>(std::min<std::size_t>(kReadChunk, literalSize - at));
    literals_.resize(at + chunk);
    reader.ReadBytes(literals_.data() + at, static_cast<int>(chunk), true);
  }
}

template <typename Write>
std::size_t CRunLengthBlock::Scan(std::size_t destSize, Write write) const {
  const std::size_t limit = std::min<std::size_t>(expandedSize_, destSize);
  std::size_t out = 0;
  std::size_t r = 0;
  const std::size_t literalCount = literals_.size();
  for (std::size_t j = 0; j <= literalCount && out < limit; ++j) {
    for (; r < runs_.size() && runs_[r].position == j; ++r) {
      const std::size_t n = std::min<std::size_t>(runs_[r].length, limit - out);
      if (n > 0 && !write(out, runs_[r].value, n)) return out;
      out += n;
    }
    if (j < literalCount && out < limit) {
      if (!write(out, literals_[j], 1)) return out;
      ++out;
    }
  }
  return out;
}

void CRunLengthBlock::Expand(std::uint8_t* dest, std::size_t destSize) {
  Scan(destSize, [dest](std::size_t at, std::uint8_t value, std::size_t count) {
    std::memset(dest + at, value, count);
    return true;
  });
  Release();
}

bool CRunLengthBlock::IsUniform(std::size_t destSize, std::uint8_t* value) const {
  bool written = false;
  bool uniform = true;
  std::uint8_t first = 0;
  const std::size_t out = Scan(destSize, [&](std::size_t, std::uint8_t v, std::size_t) {
    if (!written) first = v;
    written = true;
    uniform = v == first;
    return uniform;
  });
  if (!uniform) return false;
  // The bytes no write reaches stay 0.
  if (out < destSize && written && first != 0) return false;
  *value = first;
  return true;
}

void CRunLengthBlock::Release() {
  runs_.clear();
  runs_.shrink_to_fit();
  literals_.clear();
  literals_.shrink_to_fit();
  expandedSize_ = 0;
}

}  // namespace pelo
