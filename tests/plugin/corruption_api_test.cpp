// Small golden files with one patch each, the result code every patch must
// give, and the text the document's loader keeps for it. Both entry points
// must answer with a code, never crash.
#include <gtest/gtest.h>

#include <functional>

#include "document/image_document.h"
#include "platform/exception.h"
#include "platform/mem_file.h"
#include "plugin/api_host.h"
#include "support/document_writer.h"
#include "support/loader_texts.h"

namespace pelo {
namespace {

using test::Bytes;

test::DocumentDesc Golden() {
  test::DocumentDesc d;
  d.colorCount = 2;
  d.palettes = {{"p", {0, 0, 0, 255, 255, 255}, {}}};
  test::PageDesc page{"page", 2, 2, {}, 0, {}};
  page.layers.push_back({"l", 1, {1, 0, 0, 1}, {}, {}});
  d.pages = {page};
  return d;
}

Bytes GoldenLegacy() {
  test::LegacyFileDesc f;
  f.width = 2;
  f.height = 2;
  f.layers.push_back(test::EncodeLegacyLayer("l", 1, {1, 1, 1, 1}, 2));
  return test::WriteLegacyFile(f);
}

struct Patch {
  const char* what;
  std::function<Bytes()> make;
  int info;     // expected GetPictureInfo result
  int picture;  // expected GetPicture result
  // errorText after CImageDocument::Load of the same bytes: empty when it
  // loads (a legacy file is no container, so its text says so).
  std::string error;
};

Bytes Patched(Bytes b, std::size_t at, std::uint8_t value) {
  b.at(at) = value;
  return b;
}

Bytes Cut(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

constexpr std::uint8_t kPresetDictionary = 0x20;

// The golden file with the stream header's first byte set to cmf and the
// second byte's flags to flags, its check bits made right again.
Bytes ZlibHeader(Bytes b, std::uint8_t cmf, std::uint8_t flags = 0) {
  constexpr std::size_t kStream = 12;
  b[kStream] = cmf;
  std::uint8_t flg = static_cast<std::uint8_t>((b[kStream + 1] & 0xC0) | flags);
  flg = static_cast<std::uint8_t>(flg + (31 - (cmf * 256 + flg) % 31) % 31);
  b[kStream + 1] = flg;
  return b;
}

Bytes DeclaredSize(std::int64_t delta) {
  const Bytes body = test::DocumentBody(Golden()).bytes();
  test::ContainerOptions o;
  o.declaredSize = static_cast<std::int64_t>(body.size()) + delta;
  return test::MakeContainer(body, o);
}

Bytes WithBody(const std::function<void(test::DocumentDesc&)>& change) {
  test::DocumentDesc d = Golden();
  change(d);
  return test::WriteDocumentFile(d);
}

TEST(Corruption, EveryPatchGivesItsResultCode) {
  const Bytes golden = test::WriteDocumentFile(Golden());
  const Bytes legacy = GoldenLegacy();
  const std::vector<Patch> patches = {
      {"golden", [&] { return golden; }, 0, 0, ""},
      {"version 1 reads the same", [&] { return Patched(golden, 5, 1); }, 0, 0, ""},
      {"version 0xFFFF reads the same", [&] { return Patched(Patched(golden, 5, 0xFF), 6, 0xFF); },
       0, 0, ""},
      {"compression mode 0", [&] { return Patched(golden, 7, 0); }, 3, 3,
       test::kUnsupportedCompression},
      {"compression mode 2", [&] { return Patched(golden, 7, 2); }, 3, 3,
       test::kUnsupportedCompression},
      {"body size one more", [] { return DeclaredSize(1); }, 3, 3, test::kInflateFailed},
      {"body size one less", [] { return DeclaredSize(-1); }, 3, 3, test::kInflateFailed},
      {"body size 0xFFFFFFFF",
       [&] {
         return Patched(Patched(Patched(Patched(golden, 8, 0xFF), 9, 0xFF), 10, 0xFF), 11, 0xFF);
       },
       3, 3, test::kInflateFailed},
      {"only the magic", [&] { return Cut(golden, 5); }, 3, 3,
       CFileException::EndOfFile().Message()},
      {"empty file", [&] { return Cut(golden, 0); }, 8, 8, CFileException::EndOfFile().Message()},
      {"cut inside the magic", [&] { return Cut(golden, 3); }, 8, 8,
       CFileException::EndOfFile().Message()},
      {"cut inside the header", [&] { return Cut(golden, 9); }, 3, 3,
       CFileException::EndOfFile().Message()},
      {"cut before the header's last byte", [&] { return Cut(golden, 11); }, 3, 3,
       CFileException::EndOfFile().Message()},
      {"cut inside the zlib stream", [&] { return Cut(golden, golden.size() - 6); }, 3, 3,
       test::kInflateFailed},
      {"zlib header damaged", [&] { return Patched(golden, 12, 0); }, 3, 3, test::kInflateFailed},
      // The stream's own header (0x78 0x9C at the default level) and trailer.
      {"zlib header check bits wrong", [&] { return Patched(golden, 13, 0x9D); }, 3, 3,
       test::kInflateFailed},
      {"zlib method 7", [&] { return ZlibHeader(golden, 0x77); }, 3, 3, test::kInflateFailed},
      {"zlib window of 64 KiB", [&] { return ZlibHeader(golden, 0x88); }, 3, 3,
       test::kInflateFailed},
      {"zlib window of 512 bytes reads the same", [&] { return ZlibHeader(golden, 0x18); }, 0, 0,
       ""},
      {"zlib preset dictionary asked for",
       [&] { return ZlibHeader(golden, 0x78, kPresetDictionary); }, 3, 3, test::kInflateFailed},
      {"zlib checksum damaged",
       [&] { return Patched(golden, golden.size() - 1, golden.back() ^ 0x10); }, 3, 3,
       test::kInflateFailed},
      {"zlib checksum cut short", [&] { return Cut(golden, golden.size() - 2); }, 3, 3,
       test::kInflateFailed},
      {"zlib checksum missing", [&] { return Cut(golden, golden.size() - 4); }, 3, 3,
       test::kInflateFailed},
      {"garbage after the stream",
       [&] {
         Bytes b = golden;
         b.insert(b.end(), 50, 0xAB);
         return b;
       },
       0, 0, ""},
      // The size its header gives has no picture the limits allow: refused
      // for the signature, as its load is.
      {"fifth byte X reads as legacy", [&] { return Patched(golden, 4, 'X'); }, 3, 3,
       test::kNotCurrentFormat},
      {"no current page", [] { return WithBody([](auto& d) { d.currentPage.reset(); }); }, 8, 8,
       ""},
      {"current page out of range", [] { return WithBody([](auto& d) { d.currentPage = 5; }); }, 8,
       8, ""},
      {"no current palette", [] { return WithBody([](auto& d) { d.currentPalette.reset(); }); }, 8,
       8, ""},
      {"no current palette at 24 bits",
       [] {
         return WithBody([](auto& d) {
           d.currentPalette.reset();
           d.depth = 24;
         });
       },
       0, 0, ""},
      {"page of width 0", [] { return WithBody([](auto& d) { d.pages[0].width = 0; }); }, 0, 5, ""},
      {"layer without pixels",
       [] { return WithBody([](auto& d) { d.pages[0].layers[0].pixels.clear(); }); }, 0, 0, ""},
      {"legacy golden", [&] { return legacy; }, 0, 0, test::kNotCurrentFormat},
      {"legacy signature PELO3", [&] { return Patched(legacy, 4, '3'); }, 0, 3,
       test::kNotCurrentFormat},
      {"legacy cut in the palette", [&] { return Cut(legacy, 100); }, 0, 8,
       test::kNotCurrentFormat},
      {"legacy cut in the header", [&] { return Cut(legacy, 12); }, 8, 8, test::kNotCurrentFormat},
      {"legacy 65535 layers declared", [&] { return Patched(Patched(legacy, 18, 0xFF), 19, 0xFF); },
       0, 8, test::kNotCurrentFormat},
  };
  for (const auto& p : patches) {
    SCOPED_TRACE(p.what);
    const Bytes file = p.make();
    PictureInfo info{};
    EXPECT_EQ(test::GetInfoFromMemory(file, &info), p.info);
    test::Dib dib;
    EXPECT_EQ(test::GetPictureFromMemory(file, &dib), p.picture);
    CMemFile memory(file.data(), file.size());
    CImageDocument document;
    EXPECT_EQ(document.Load(memory), p.error.empty());
    EXPECT_EQ(document.errorText, p.error);
    // A refused container makes nothing.
    if (!p.error.empty()) {
      EXPECT_EQ(document.pages.GetCount(), 0);
    }
  }
}

}  // namespace
}  // namespace pelo
