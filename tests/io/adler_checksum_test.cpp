#include "io/adler_checksum.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace pelo {
namespace {

// zlib answers a null buffer with its start value, whatever adler was.
std::uint32_t Reference(std::uint32_t adler, const std::vector<std::uint8_t>& data) {
  if (data.empty()) return adler;
  return static_cast<std::uint32_t>(adler32(adler, data.data(), static_cast<uInt>(data.size())));
}

// Sizes around the vector step and the block after which the sums are
// reduced; bytes of 0xFF and sums that start just below the modulus give
// the largest values the sums can reach.
TEST(Adler32, EveryFormMatchesZlibForEverySizeAndStart) {
  std::mt19937 rng(11);
  const std::size_t sizes[] = {0,    1,    31,   32,   33,   63,    64,    100,
                               5535, 5536, 5551, 5552, 5553, 11104, 11105, 70000};
  const std::uint32_t starts[] = {kAdlerStart, 0, 0xFFF0FFF0u, 0x12345678u % 65521};
  for (const AdlerForm& form : AllAdlerForms()) {
    if (!form.supported()) continue;
    for (bool saturated : {false, true})
      for (std::size_t size : sizes)
        for (std::uint32_t start : starts) {
          std::vector<std::uint8_t> data(size, 0xFF);
          if (!saturated)
            for (auto& b : data) b = static_cast<std::uint8_t>(rng());
          EXPECT_EQ(form.run(start, data.data(), data.size()), Reference(start, data))
              << form.name << " size " << size << " start " << start
              << (saturated ? " all 0xFF" : "");
        }
  }
}

TEST(Adler32, ZlibsFormIsAlwaysThereAndLast) {
  ASSERT_FALSE(AllAdlerForms().empty());
  EXPECT_STREQ(AllAdlerForms().back().name, "zlib");
}

TEST(Adler32, ContinuesAcrossPieces) {
  std::vector<std::uint8_t> data(9000);
  std::mt19937 rng(12);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  const std::uint32_t first = Adler32(kAdlerStart, data.data(), 4321);
  EXPECT_EQ(Adler32(first, data.data() + 4321, data.size() - 4321), Reference(kAdlerStart, data));
}

}  // namespace
}  // namespace pelo
