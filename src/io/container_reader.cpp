#include "io/container_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "io/adler_checksum.h"
#include "io/whole_inflate.h"
#include "platform/allocation.h"

namespace pelo {

namespace {

// Texts in code page 932.
// "このファイルはPELO2形式ではありません。"
constexpr char kNotCurrentFormat[] =
    "\x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x50\x45\x4c\x4f\x32\x8c\x60\x8e\xae"
    "\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "この圧縮モードには対応していません。"
constexpr char kUnsupportedCompression[] =
    "\x82\xb1\x82\xcc\x88\xb3\x8f\x6b\x83\x82\x81\x5b\x83\x68\x82\xc9\x82\xcd\x91\xce\x89\x9e\x82"
    "\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "Zライブラリの初期化に失敗しました。"
constexpr char kInflateInitFailed[] =
    "\x5a\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8a\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8"
    "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "圧縮データ展開中にエラーが発生しました。"
constexpr char kInflateFailed[] =
    "\x88\xb3\x8f\x6b\x83\x66\x81\x5b\x83\x5e\x93\x57\x8a\x4a\x92\x86\x82\xc9\x83\x47\x83\x89\x81"
    "\x5b\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

constexpr std::uint8_t kCompressionZlib = 1;

// Ends the inflate stream on every path out of the loop.
class InflateStream {
 public:
  InflateStream() { std::memset(&stream_, 0, sizeof stream_); }
  ~InflateStream() {
    if (initialised_) inflateEnd(&stream_);
  }
  // The deflate data alone: the stream's header and checksum are checked
  // here, so that the checksum runs over the whole body at once.
  bool Init() {
    initialised_ =
        inflateInit2_(&stream_, -MAX_WBITS, "1.2.1", static_cast<int>(sizeof stream_)) == Z_OK;
    return initialised_;
  }
  z_stream* operator->() { return &stream_; }
  z_stream* get() { return &stream_; }

 private:
  z_stream stream_;
  bool initialised_ = false;
};

// The compressed input, read in chunks; the stream's header and checksum
// bytes are taken one at a time, the deflate data by zlib itself.
class InflateInput {
 public:
  InflateInput(CBinaryReader& reader, z_stream* stream) : reader_(reader), stream_(stream) {}

  // False when the file holds no more input.
  bool Refill() {
    stream_->next_in = chunk_;
    stream_->avail_in = static_cast<uInt>(reader_.ReadBytes(chunk_, sizeof chunk_, false));
    return stream_->avail_in > 0;
  }
  bool Byte(std::uint8_t* out) {
    if (stream_->avail_in == 0 && !Refill()) return false;
    *out = *stream_->next_in++;
    --stream_->avail_in;
    return true;
  }

 private:
  CBinaryReader& reader_;
  z_stream* stream_;
  std::uint8_t chunk_[kInflateChunkBytes];
};

constexpr std::size_t kStreamHeaderBytes = 2;
constexpr std::size_t kChecksumBytes = 4;

// What zlib's inflate accepts with the window inflateInit gives it: method
// 8, a window of at most 32 KiB, the check bits right and no preset
// dictionary (which would need one the format never supplies).
bool StreamHeaderValid(std::uint8_t cmf, std::uint8_t flg) {
  constexpr int kDeflate = 8, kLargestWindow = 7, kPresetDictionary = 0x20;
  return (cmf * 256 + flg) % 31 == 0 && (cmf & 0x0F) == kDeflate && (cmf >> 4) <= kLargestWindow &&
         (flg & kPresetDictionary) == 0;
}

bool ReadStreamHeader(InflateInput& input) {
  std::uint8_t cmf = 0, flg = 0;
  return input.Byte(&cmf) && input.Byte(&flg) && StreamHeaderValid(cmf, flg);
}

// The checksum after the deflate data, most significant byte first.
bool ChecksumMatches(InflateInput& input, const std::uint8_t* out, std::uint32_t size) {
  std::uint32_t stored = 0;
  for (std::size_t i = 0; i < kChecksumBytes; ++i) {
    std::uint8_t b = 0;
    if (!input.Byte(&b)) return false;
    stored = (stored << 8) | b;
  }
  return stored == Adler32(kAdlerStart, out, size);
}

bool InflateInto(InflateStream& stream, InflateInput& input, std::uint8_t* out,
                 std::uint32_t size) {
  stream->next_out = out;
  stream->avail_out = size;
  for (;;) {
    if (stream->avail_in == 0) input.Refill();
    const int result = inflate(stream.get(), Z_NO_FLUSH);
    if (result == Z_STREAM_END) return stream->avail_out == 0;
    if (result != Z_OK) return false;
  }
}

bool Inflate(CBinaryReader& reader, std::uint8_t* out, std::uint32_t size, CString* errorText) {
  InflateStream stream;
  if (!stream.Init()) {
    *errorText = kInflateInitFailed;
    return false;
  }
  InflateInput input(reader, stream.get());
  if (ReadStreamHeader(input) && InflateInto(stream, input, out, size) &&
      ChecksumMatches(input, out, size))
    return true;
  *errorText = kInflateFailed;
  return false;
}

// The most input a zlib stream of size bytes takes when a zlib encoder wrote
// it (zlib's compressBound): the whole-buffer way reads no more, and a
// stream that needs more still opens by zlib.
std::uint64_t LargestHonestStream(std::uint32_t size) {
  return std::uint64_t{size} + (size >> 12) + (size >> 14) + (size >> 25) + 13;
}

// The whole stream held in memory: in place for a memory source, read into
// a scratch buffer otherwise. Empty when it cannot be had.
class WholeInput {
 public:
  WholeInput(CFile& file, std::uint64_t available) {
    const std::uint64_t position = file.GetPosition();
    size_ = static_cast<std::size_t>(available);
    if (const std::uint8_t* contents = file.Contents()) {
      bytes_ = contents + position;
      return;
    }
    owned_ = TryAllocateScratchBytes(size_);
    if (!owned_) return;
    std::size_t got = 0;
    while (got < size_) {
      const std::uint32_t n =
          file.Read(owned_.get() + got, static_cast<std::uint32_t>(size_ - got));
      if (n == 0) break;
      got += n;
    }
    file.Seek(position);
    size_ = got;
    bytes_ = owned_.get();
  }
  const std::uint8_t* bytes() const { return bytes_; }
  std::size_t size() const { return bytes_ == nullptr ? 0 : size_; }

 private:
  std::unique_ptr<std::uint8_t[]> owned_;
  const std::uint8_t* bytes_ = nullptr;
  std::size_t size_ = 0;
};

// The fast way: header, deflate data and checksum over the whole stream at
// once. False, with the reader where it was, for anything zlib should judge.
bool InflateWholeStream(CBinaryReader& reader, std::uint8_t* out, std::uint32_t size) {
  if (!WholeInflateAvailable()) return false;
  CFile& file = *reader.GetFile();
  const std::uint64_t start = file.GetPosition();
  const WholeInput input(file, std::min(file.GetRemaining(), LargestHonestStream(size)));
  const std::uint8_t* in = input.bytes();
  const std::size_t inSize = input.size();
  if (inSize < kStreamHeaderBytes + kChecksumBytes || !StreamHeaderValid(in[0], in[1]))
    return false;
  std::size_t consumed = 0;
  const std::size_t deflateBytes = inSize - kStreamHeaderBytes - kChecksumBytes;
  if (!InflateWhole(in + kStreamHeaderBytes, deflateBytes, out, size, &consumed)) return false;
  const std::uint8_t* stored = in + kStreamHeaderBytes + consumed;
  const std::uint32_t checksum = (std::uint32_t{stored[0]} << 24) |
                                 (std::uint32_t{stored[1]} << 16) |
                                 (std::uint32_t{stored[2]} << 8) | stored[3];
  if (checksum != Adler32(kAdlerStart, out, size)) return false;
  file.Seek(start + kStreamHeaderBytes + consumed + kChecksumBytes);
  return true;
}

}  // namespace

bool InflateContainerBody(CBinaryReader& reader, ContainerBody* body, CString* errorText) {
  char magic[5];
  reader.ReadBytes(magic, 5, true);
  if (std::memcmp(magic, "PELO2", 5) != 0) {
    *errorText = kNotCurrentFormat;
    return false;
  }
  reader.ReadWord();  // the version: newer writers' files read the same way
  if (reader.ReadByte() != kCompressionZlib) {
    *errorText = kUnsupportedCompression;
    return false;
  }
  body->size = reader.ReadDword();
  // Deflate cannot expand its input more than 1032 times, so a larger body
  // could never be filled: refuse it before the buffer is allocated.
  if (body->size > kMaxInflateRatio * reader.GetFile()->GetRemaining()) {
    *errorText = kInflateFailed;
    return false;
  }
  body->bytes = AllocateSharedBytes(body->size);
  // zlib's pass over the same input keeps every refusal and its message
  // exactly what they were before the faster decoder.
  return InflateWholeStream(reader, body->bytes.get(), body->size) ||
         Inflate(reader, body->bytes.get(), body->size, errorText);
}

}  // namespace pelo
