// One layer of a legacy file as stored: literal bytes with runs inserted in
// front of the literal whose index equals the run's position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "io/binary_reader.h"

namespace pelo {

class CRunLengthBlock {
 public:
  struct Run {
    std::uint32_t position = 0;
    std::uint32_t length = 0;
    std::uint8_t value = 0;
  };

  CRunLengthBlock() = default;
  virtual ~CRunLengthBlock() = default;

  // Reads the run count, the 9-byte runs, the literal size and the literals.
  // Storage grows with the bytes actually read, never with a declared count,
  // so a short file cannot make it allocate what it does not hold.
  void Read(CBinaryReader& reader, std::uint32_t expandedSize);
  // Expands into dest (room for destSize bytes; expandedSize bytes are
  // written at most) in one forward scan, then releases the block. A run
  // behind the scan is never expanded; writes past the output are dropped;
  // bytes no write reaches keep their contents.
  void Expand(std::uint8_t* dest, std::size_t destSize);
  // Whether Expand would leave destSize bytes that were all 0 with one
  // value throughout, that value then in *value; the block is kept.
  bool IsUniform(std::size_t destSize, std::uint8_t* value) const;
  void Release();

  const std::vector<Run>& runs() const { return runs_; }
  const std::vector<std::uint8_t>& literals() const { return literals_; }

 private:
  // Hands each stretch Expand would write, in order, to write(at, value,
  // count) until it returns false; returns the bytes handed.
  template <typename Write>
  std::size_t Scan(std::size_t destSize, Write write) const;

  std::vector<std::uint8_t> literals_;
  std::uint32_t expandedSize_ = 0;
  std::vector<Run> runs_;
};

}  // namespace pelo
