// The body comes out the same whichever decoder inflates it and whatever
// the source: a memory block (taken in place) or a file on disk (read in).
// Streams the whole-buffer decoder refuses go to zlib, whose verdict and
// message stand.
#include "io/container_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/mem_file.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::Bytes;

struct Outcome {
  bool inflated = false;
  Bytes body;
  CString error;
};

Outcome InflateFrom(CFile& file) {
  CBinaryReader reader(&file);
  ContainerBody body;
  Outcome outcome;
  outcome.inflated = InflateContainerBody(reader, &body, &outcome.error);
  if (outcome.inflated) outcome.body.assign(body.bytes.get(), body.bytes.get() + body.size);
  return outcome;
}

Outcome InflateFromMemory(const Bytes& file) {
  CMemFile memory(file.data(), file.size());
  return InflateFrom(memory);
}

Outcome InflateFromDisk(const Bytes& file) {
  const auto path = std::filesystem::temp_directory_path() / "pelo-container-reader-test.pel";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  CFile disk;
  EXPECT_TRUE(disk.Open(path.string().c_str()));
  Outcome outcome = InflateFrom(disk);
  disk.Close();
  std::filesystem::remove(path);
  return outcome;
}

Bytes SampleBody(std::size_t size) {
  Bytes body(size);
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<std::uint8_t>((i * 7) / 13 % 251);
  return body;
}

// A header and a zlib stream that holds the body in one stored block after
// padding empty stored blocks: valid, yet longer than any zlib encoder
// writes for the body.
Bytes PaddedContainer(const Bytes& body, int emptyBlocks) {
  Bytes out{'P', 'E', 'L', 'O', '2', 0, 0, 1};
  test::PutLe32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), {0x78, 0x01});
  for (int i = 0; i < emptyBlocks; ++i) out.insert(out.end(), {0x00, 0x00, 0x00, 0xFF, 0xFF});
  const auto length = static_cast<std::uint16_t>(body.size());
  out.insert(out.end(),
             {0x01, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
              static_cast<std::uint8_t>(~length), static_cast<std::uint8_t>(~length >> 8)});
  out.insert(out.end(), body.begin(), body.end());
  const auto adler =
      static_cast<std::uint32_t>(adler32(1, body.data(), static_cast<uInt>(body.size())));
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(adler >> shift));
  return out;
}

struct Case {
  const char* what;
  std::function<Bytes()> make;
  Bytes body;  // empty: refused
};

TEST(ContainerReader, SameBodyOrSameRefusalFromMemoryAndFromDisk) {
  const Bytes body = SampleBody(40000);
  // Past the size whose buffers are mappings of their own, and not a whole
  // number of huge pages.
  const Bytes large = SampleBody((std::size_t{3} << 20) + 12345);
  test::ContainerOptions stored;
  stored.level = 0;
  test::ContainerOptions shortDeclared;
  shortDeclared.declaredSize = static_cast<std::int64_t>(body.size()) - 1;
  const std::vector<Case> cases = {
      {"level 6", [&] { return test::MakeContainer(body); }, body},
      {"stored", [&] { return test::MakeContainer(body, stored); }, body},
      {"large body", [&] { return test::MakeContainer(large); }, large},
      {"longer than zlib's bound", [&] { return PaddedContainer(body, 2000); }, body},
      {"garbage after the stream",
       [&] {
         Bytes b = test::MakeContainer(body);
         b.insert(b.end(), 100, 0xAB);
         return b;
       },
       body},
      {"declared one byte short", [&] { return test::MakeContainer(body, shortDeclared); }, {}},
      {"checksum damaged",
       [&] {
         Bytes b = test::MakeContainer(body);
         b.back() ^= 1;
         return b;
       },
       {}},
      {"cut inside the deflate data",
       [&] {
         Bytes b = test::MakeContainer(body);
         b.resize(b.size() / 2);
         return b;
       },
       {}},
  };
  CString refusal;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes file = c.make();
    const Outcome memory = InflateFromMemory(file);
    const Outcome disk = InflateFromDisk(file);
    EXPECT_EQ(memory.inflated, !c.body.empty());
    EXPECT_EQ(memory.body, c.body);
    EXPECT_EQ(disk.inflated, memory.inflated);
    EXPECT_EQ(disk.body, memory.body);
    EXPECT_EQ(disk.error, memory.error);
    // Every damaged stream ends in zlib's one message.
    if (c.body.empty()) {
      if (refusal.empty()) refusal = memory.error;
      EXPECT_FALSE(memory.error.empty());
      EXPECT_EQ(memory.error, refusal);
    }
  }
}

}  // namespace
}  // namespace pelo
