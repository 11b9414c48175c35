#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "text_conversion.h"

namespace pelo::tools {

namespace {

class Converter {
 public:
  Converter() : cd_(::iconv_open("UTF-8", "CP932")) {}
  ~Converter() {
    if (ok()) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

std::string Escaped(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
  Converter converter;
  if (!converter.ok()) return text;
  std::string out;
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char buffer[256];
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = ::iconv(converter.get(), &in, &inLeft, &dst, &dstLeft);
    out.append(buffer, sizeof buffer - dstLeft);
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // An invalid or incomplete sequence: show the byte and go on after it.
    out += Escaped(static_cast<unsigned char>(*in));
    ++in;
    --inLeft;
    ::iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace pelo::tools
